// French.
#include "tools/artgen/Translations.h"

namespace artgen {

const TTextTable& FrenchTexts() {
    static const TTextTable t = {
        {"MainCaption", "Velm Orra"},
        {"Options", "Options"},
        {"HighScores", "Meilleurs scores"},
        {"Help", "Comment jouer"},
        {"Kids", "Enfants"},
        {"Normal", "Normal"},
        {"Proff", "Expert"},
        {"Exit_Caption", "Quitter Velm Orra ?"},
        {"Exit_Text", "Scores et réglages sont gardés.\n\nQuitter maintenant ?"},
        {"ExitKeep_Caption", "Quitter Velm Orra ?"},
        {"ExitKeep_Text", "Votre partie est gardée : elle vous\nsera proposée au prochain "
                          "démarrage.\n\nQuitter maintenant ?"},
        {"GameOverReason", "Plus de place pour les billes"},
        {"EnterNameChoice", "Oui : rejouer     Non : voir le tableau"},
        {"New_Caption", "Nouvelle partie ?"},
        {"New_Text", "La partie en cours sera perdue.\n\nEn commencer une nouvelle quand même ?"},
        {"Old_Caption", "Bon retour !"},
        {"Old_Text", "Votre dernière partie a été gardée.\n\nVoulez-vous la reprendre ?"},
        {"Clear_Caption", "Effacer ce tableau ?"},
        {"Clear_Text", "Tous les noms et scores de ce tableau\nreviennent à ceux du "
                       "départ.\n\nImpossible de revenir en arrière."},
        {"EnterName_Caption", "Nouveau record !"},
        {"EnterName_Text", "Bien joué ! Tapez votre nom\npuis appuyez sur Entrée."},
        {"LowScore_Caption", "Partie terminée"},
        {"LowScore_Text",
         "Plus de place pour les billes.\nPas assez pour le\ntableau cette fois.\nOn rejoue ?"},
        {"FullScreen_Caption", "Affichage modifié"},
        {"FullScreen_Text", "Le nouvel affichage s'applique\nau prochain démarrage.\n\nQuitter "
                            "Velm Orra maintenant ?"},
        {"NewGameHint", "Cliquez sur Nouvelle partie"},
        {"DemoLabel", "Démo : appuyez sur une touche"},
        {"FinalScore", "Votre score : %s"},
        {"FinalPlace", "%s place sur 10"},
        {"Statistics", "Statistiques"},
        {"Places", "1re\n2e\n3e\n4e\n5e\n6e\n7e\n8e\n9e\n10e"},
        {"StatisticsRows", "Parties jouées\nParties terminées\nMeilleur score\nScore moyen\nLignes "
                           "formées\nPlus longue série\nMeilleur coup\nTemps de jeu"},
        {"ResetStats_Caption", "Remettre à zéro ?"},
        {"ResetStats_Text",
         "Tous les chiffres de ce mode\nrepartent de zéro.\n\nCe choix est définitif."},
        {"Btn.NewGame", "Nouvelle partie"},
        {"Btn.Kids", "Enfants"},
        {"Btn.Normal", "Normal"},
        {"Btn.Professional", "Expert"},
        {"Btn.Options", "Options"},
        {"Btn.HowToPlay", "Comment jouer"},
        {"Btn.HighScores", "Records"},
        {"Btn.Exit", "Quitter"},
        {"Btn.Back", "Retour"},
        {"Btn.Clear", "Effacer"},
        {"Btn.Yes", "Oui"},
        {"Btn.No", "Non"},
        {"Btn.Previous", "Précédent"},
        {"Btn.Next", "Suivant"},
        {"Table.TopTen", "LES DIX MEILLEURS"},
        {"Table.Statistics", "STATISTIQUES"},
        {"Opt.Sound", "Sons"},
        {"Opt.Music", "Musique"},
        {"Opt.FullScreen", "Plein écran"},
        {"Opt.NextStart", "(au redémarrage)"},
        {"Opt.Language", "Langue"},
        {"Opt.System", "Langue du système"},
        {"Opt.LanguageNote", "(s'applique aussitôt)"},
        {"Game.Score", "SCORE"},
        {"Game.Next", "SUIVANTES"},
        {"Game.Loading", "Chargement"},
        {"Colour.1", "rouge"},
        {"Colour.2", "vert"},
        {"Colour.3", "bleu"},
        {"Colour.4", "jaune"},
        {"Colour.5", "violet"},
        {"Colour.6", "cyan"},
        {"Colour.7", "blanc"},
        {"Help0.Title", "Déplacer les billes"},
        {"Help0.1", "Cliquez sur une bille pour la prendre : elle se met à rebondir."},
        {"Help0.2", "Cliquez sur une case vide pour l'y envoyer. La bille ne roule que sur des "
                    "cases libres - en haut, en bas, à gauche ou à droite, jamais en diagonale - "
                    "et prend le plus court chemin."},
        {"Help0.3", "Une croix rouge marque une case hors d'atteinte. On peut aussi faire glisser "
                    "une bille ; le bouton droit de la souris la repose."},
        {"Help1.3", "Chaque coup sans ligne amène de nouvelles billes, annoncées à l'avance. "
                    "Plus de place pour elles : la partie est finie."},
        {"Help0.Keys", "Clavier : les flèches déplacent un curseur sur le plateau, Espace ou "
                       "Entrée prend et envoie, Échap repose. F1 aide, F11 plein écran, M muet, "
                       "Ctrl+N nouvelle partie."},
        {"Help1.Title", "Lignes et points"},
        {"Help1.1", "Alignez cinq billes ou plus d'une couleur en ligne, en colonne ou en "
                    "diagonale : elles disparaissent et rapportent des points. Aucune bille "
                    "n'arrive après un coup qui efface une ligne."},
        {"Help1.Five", "Cinq alignées"},
        {"Help1.Six", "Six alignées"},
        {"Help1.Seven", "Sept alignées"},
        {"Help1.Cross", "Deux lignes de cinq croisées"},
        {"Help1.2", "Bonus d'enchaînement : effacez des lignes à des coups successifs. La "
                    "deuxième ligne d'affilée rapporte ses points une fois de plus, la troisième "
                    "deux fois de plus, et ainsi de suite - jusqu'à un coup qui n'efface rien."},
        {"Help2.Title", "Billes spéciales"},
        {"Help2.1", "Les billes bicolores comptent pour leurs deux couleurs à la fois."},
        {"Help2.2", "La bille arc-en-ciel porte toutes les couleurs : elle va dans toute ligne."},
        {"Help2.3", "Les multiplicateurs vont aussi avec toute couleur et multiplient les points "
                    "de leur ligne par 3, 6 ou 9."},
        {"Help2.Colours", "Distinguer les couleurs"},
        {"Help2.Symbols", "Chaque couleur porte aussi un léger symbole : cœur, triangle, anneau, "
                          "étoile, losange, croix et carré."},
        {"Help3.Title", "Billes de peinture et bombes"},
        {"Help3.1", "Une bille de peinture joue comme une bille de sa couleur - jusqu'à ce que "
                    "vous la posiez à côté d'autres billes. Elle éclate alors et, un instant plus "
                    "tard, peint toutes les billes autour d'elle de sa couleur."},
        {"Help3.2", "Posez une bombe à côté d'autres billes et elle fait sauter tout le carré de "
                    "3 x 3 autour d'elle - les autres bombes explosent aussi. Les billes "
                    "soufflées ne rapportent rien."},
        {"Help3.3", "Quand une bille de peinture ou une bombe part, aucune bille n'arrive ce "
                    "tour-là. Posée sans voisines, elle reste simplement là."},
        {"Help4.Title", "Trois façons de jouer"},
        {"Help4.Start", "Billes au départ"},
        {"Help4.Turn", "Nouvelles par tour"},
        {"Help4.Colours", "Couleurs"},
        {"Help4.Specials", "Billes spéciales"},
        {"Help4.Undo", "Annuler"},
        {"Help4.KidsStart", "3 billes"},
        {"Help4.KidsTurn", "2 billes"},
        {"Help4.KidsColours", "7 au départ, puis 6"},
        {"Help4.KidsSpecials", "Bicolores, arc-en-ciel"},
        {"Help4.KidsUndo", "Jusqu'au début"},
        {"Help4.NormalStart", "6 billes"},
        {"Help4.NormalTurn", "3 billes"},
        {"Help4.NormalColours", "6"},
        {"Help4.NormalSpecials", "+ bombes, peinture, x3 x6 x9"},
        {"Help4.NormalUndo", "Le dernier coup"},
        {"Help4.ProStart", "9 billes"},
        {"Help4.ProTurn", "4 billes"},
        {"Help4.ProColours", "Les 7 arrivent"},
        {"Help4.ProSpecials", "+ bombes, peinture, x3 x6 x9"},
        {"Help4.ProUndo", "Aucun"},
        {"Help4.Footer", "Annulez avec Ctrl+Z, Retour arrière ou le bouton Annuler. Moins de "
                         "billes arrivent quand le plateau se remplit ; chaque mode a son "
                         "propre tableau des dix meilleurs."},
        // Reduced motion, the symbols, the first-game tips and the payoff.
        {"Opt.ReducedMotion", "Mouvements réduits"},
        {"Opt.Symbols", "Symboles des billes"},
        {"Opt.Tips", "Conseils de départ"},
        {"Opt.Off", "Non"},
        {"Opt.On", "Oui"},
        {"Opt.Faint", "Discrets"},
        {"Opt.Clear", "Nets"},
        {"Game.Record", "Nouveau record !"},
        {"Chain", "Chaîne ×%s"},
        {"ReplayLegend", "» une rediffusion, verte si vérifiée : cliquez"},
        {"ReplayHead", "Rediffusion"},
        {"ReplayKeys", "Espace : pause   F : plus vite   Échap : fin"},
        {"ReplayPaused", "En pause"},
        {"LastSeed", "Graine de la dernière partie : %s"},
        {"DailyResult", "Partie du jour : %s points, série %s   C : copier"},
        {"Tip_Start", "Alignez cinq billes d'une couleur pour les faire partir. Cliquez une bille "
                      "pour la prendre."},
        {"Tip_Select", "Les cases éclairées montrent où la bille peut aller : cliquez-en une. Elle "
                       "ne roule que sur les cases libres."},
        {"Tip_Start_Keys", "Alignez cinq billes d'une couleur pour les faire partir. Les flèches "
                           "bougent, Espace prend une bille."},
        {"Tip_Start_Pad", "Alignez cinq billes d'une couleur pour les faire partir. La croix "
                          "bouge, A prend une bille."},
        {"Tip_Start_Touch", "Alignez cinq billes d'une couleur pour les faire partir. Touchez une "
                            "bille pour la prendre."},
        {"Tip_Select_Keys", "Les cases éclairées montrent où la bille peut aller : allez-y, "
                            "appuyez sur Espace. Elle ne roule que sur les cases libres."},
        {"Tip_Select_Pad", "Les cases éclairées montrent où la bille peut aller : allez-y, appuyez "
                           "sur A. Elle ne roule que sur les cases libres."},
        {"Tip_Select_Touch", "Les cases éclairées montrent où la bille peut aller : touchez-en une "
                             "ou glissez-l'y. Elle ne roule que sur les cases libres."},
        {"Tip_Line", "Cinq alignées : 50 points, plus pour une ligne plus longue. Des lignes à la "
                     "suite : bonus de chaîne."},
        {"Tip_Undo", "Coup annulé ! Enfants : autant de fois que voulu. Normal : le dernier coup. "
                     "Les mêmes billes reviennent."},
        {"Tip_TwoColour", "Une bille bicolore compte pour ses deux couleurs."},
        {"Tip_Rainbow", "La bille arc-en-ciel va dans une ligne de toute couleur."},
        {"Tip_Paint",
         "Une bille de peinture posée près d'autres éclate et les peint de sa couleur."},
        {"Tip_Multiplier", "Un multiplicateur va avec toute couleur et multiplie les points de sa "
                           "ligne par 3, 6 ou 9."},
        {"Tip_Bomb", "Posez une bombe près d'autres billes : elle fait sauter le carré de 3 × 3 "
                     "autour d'elle."},
        {"Paused", "En pause"},
        {"PressAnyKey", "Appuyez sur une touche"},
        {"SummaryRows",
         "Lignes\nPlus longue série\nMeilleur coup\nCoups joués\nTemps\nVotre record"},
        {"NewBest", "Nouveau record !"},
    };
    return t;
}

} // namespace artgen
