// German.
#include "tools/artgen/Translations.h"

namespace artgen {

const TTextTable& GermanTexts() {
    static const TTextTable t = {
        {"MainCaption", "Velm Orra"},
        {"Options", "Optionen"},
        {"HighScores", "Bestenliste"},
        {"Help", "Spielanleitung"},
        {"Kids", "Kinder"},
        {"Normal", "Normal"},
        {"Proff", "Profi"},
        {"Exit_Caption", "Velm Orra verlassen?"},
        {"Exit_Text", "Punkte und Einstellungen bleiben.\n\nJetzt beenden?"},
        {"ExitKeep_Caption", "Velm Orra verlassen?"},
        {"ExitKeep_Text",
         "Dein Spiel bleibt erhalten: Beim\nnächsten Start geht es weiter.\n\nJetzt beenden?"},
        {"GameOverReason", "Kein Platz für neue Kugeln"},
        {"EnterNameChoice", "Ja: noch ein Spiel     Nein: zur Liste"},
        {"New_Caption", "Neues Spiel starten?"},
        {"New_Text", "Das laufende Spiel geht verloren.\n\nTrotzdem neu beginnen?"},
        {"Old_Caption", "Willkommen zurück!"},
        {"Old_Text", "Dein letztes Spiel wurde gespeichert.\n\nMöchtest du es fortsetzen?"},
        {"Clear_Caption", "Tabelle leeren?"},
        {"Clear_Text", "Alle Namen und Punkte dieser Tabelle\nkehren zu den Anfangswerten "
                       "zurück.\n\nDas lässt sich nicht rückgängig machen."},
        {"EnterName_Caption", "Neuer Rekord!"},
        {"EnterName_Text", "Gut gespielt! Gib deinen Namen\nein und drücke die Eingabetaste."},
        {"LowScore_Caption", "Spiel vorbei"},
        {"LowScore_Text", "Kein Platz mehr für Kugeln.\nFür die Bestenliste\nreicht es diesmal "
                          "nicht.\nNoch eine Runde?"},
        {"FullScreen_Caption", "Anzeige geändert"},
        {"FullScreen_Text",
         "Die neue Anzeige gilt\nab dem nächsten Start.\n\nVelm Orra jetzt beenden?"},
        {"NewGameHint", "Klicke auf Neues Spiel"},
        {"DemoLabel", "Demo: Taste drücken zum Spielen"},
        {"FinalScore", "Deine Punkte: %s"},
        {"FinalPlace", "Platz %s von 10"},
        {"Statistics", "Statistik"},
        {"Places", "1.\n2.\n3.\n4.\n5.\n6.\n7.\n8.\n9.\n10."},
        {"StatisticsRows",
         "Gespielte Spiele\nBeendete Spiele\nBeste Punktzahl\nDurchschnitt\nAbgeräumte "
         "Reihen\nLängste Serie\nBester Zug\nSpielzeit"},
        {"ResetStats_Caption", "Statistik zurücksetzen?"},
        {"ResetStats_Text", "Alle Werte dieses Modus\nbeginnen wieder bei null.\n\nDas lässt sich "
                            "nicht rückgängig machen."},
        {"Btn.NewGame", "Neues Spiel"},
        {"Btn.Kids", "Kinder"},
        {"Btn.Normal", "Normal"},
        {"Btn.Professional", "Profi"},
        {"Btn.Options", "Optionen"},
        {"Btn.HowToPlay", "Anleitung"},
        {"Btn.HighScores", "Bestenliste"},
        {"Btn.Exit", "Beenden"},
        {"Btn.Back", "Zurück"},
        {"Btn.Clear", "Leeren"},
        {"Btn.Yes", "Ja"},
        {"Btn.No", "Nein"},
        {"Btn.Previous", "Vorige"},
        {"Btn.Next", "Weiter"},
        {"Table.TopTen", "DIE BESTEN ZEHN"},
        {"Table.Statistics", "STATISTIK"},
        {"Opt.Sound", "Effekte"},
        {"Opt.Music", "Musik"},
        {"Opt.FullScreen", "Vollbild"},
        {"Opt.NextStart", "(nach Neustart)"},
        {"Opt.Language", "Sprache"},
        {"Opt.System", "Systemsprache"},
        {"Opt.LanguageNote", "(gilt sofort)"},
        {"Game.Score", "PUNKTE"},
        {"Game.Next", "NÄCHSTE"},
        {"Game.Loading", "Wird geladen"},
        {"Colour.1", "rot"},
        {"Colour.2", "grün"},
        {"Colour.3", "blau"},
        {"Colour.4", "gelb"},
        {"Colour.5", "violett"},
        {"Colour.6", "türkis"},
        {"Colour.7", "weiß"},
        {"Help0.Title", "Kugeln bewegen"},
        {"Help0.1", "Klicke eine Kugel an, um sie aufzunehmen: Sie beginnt zu hüpfen."},
        {"Help0.2", "Klicke ein freies Feld an, um sie dorthin zu schicken. Die Kugel rollt nur "
                    "über freie Felder - hoch, runter, links oder rechts, nie schräg - und nimmt "
                    "den kürzesten Weg."},
        {"Help0.3", "Ein rotes Kreuz zeigt ein unerreichbares Feld. Ziehen mit der Maus geht "
                    "auch; die rechte Maustaste setzt die Kugel wieder ab."},
        {"Help1.3", "Jeder Zug ohne Reihe bringt neue Kugeln, vorab in der Vorschau angezeigt. "
                    "Ist kein Platz mehr für sie, ist das Spiel vorbei."},
        {"Help0.Keys", "Tastatur: Pfeiltasten bewegen einen Rahmen über das Feld, Leertaste oder "
                       "Eingabe nimmt auf und schickt los, Esc setzt ab. F1 Hilfe, F11 Vollbild, "
                       "M Ton aus, Strg+N neues Spiel."},
        {"Help1.Title", "Reihen und Punkte"},
        {"Help1.1", "Bringe fünf oder mehr Kugeln einer Farbe in eine Reihe, Spalte oder "
                    "Diagonale: Sie verschwinden und bringen Punkte. Nach einem Zug, der eine "
                    "Reihe abräumt, kommen keine neuen Kugeln."},
        {"Help1.Five", "Fünf in einer Reihe"},
        {"Help1.Six", "Sechs in einer Reihe"},
        {"Help1.Seven", "Sieben in einer Reihe"},
        {"Help1.Cross", "Zwei gekreuzte Fünferreihen"},
        {"Help1.2", "Kettenbonus: Räume in aufeinanderfolgenden Zügen ab. Die zweite Reihe in "
                    "Folge zählt ihre Punkte noch einmal, die dritte zweimal mehr und so weiter - "
                    "bis ein Zug nichts abräumt."},
        {"Help2.Title", "Besondere Kugeln"},
        {"Help2.1", "Zweifarbige Kugeln zählen für beide ihrer Farben zugleich."},
        {"Help2.2", "Die Regenbogenkugel trägt jede Farbe: Sie passt in jede Reihe."},
        {"Help2.3", "Multiplikatoren passen ebenfalls zu jeder Farbe und vervielfachen die Punkte "
                    "ihrer Reihe mit 3, 6 oder 9."},
        {"Help2.Colours", "Farben unterscheiden"},
        {"Help2.Symbols", "Jede Farbe trägt zudem ein zartes Symbol: Herz, Dreieck, Ring, Stern, "
                          "Raute, Kreuz und Quadrat."},
        {"Help3.Title", "Farbkugeln und Bomben"},
        {"Help3.1", "Eine Farbkugel spielt wie eine Kugel ihrer Farbe - bis du sie neben andere "
                    "Kugeln ziehst. Dann platzt sie und färbt kurz darauf alle Kugeln um sich "
                    "herum in ihrer Farbe."},
        {"Help3.2", "Ziehe eine Bombe neben andere Kugeln, und sie sprengt den ganzen 3 x 3-Block "
                    "um sich - andere Bomben gehen mit hoch. Gesprengte Kugeln bringen keine "
                    "Punkte."},
        {"Help3.3", "Geht eine Farbkugel oder Bombe los, kommen in diesem Zug keine neuen Kugeln. "
                    "Ohne Nachbarn bleibt sie einfach liegen."},
        {"Help4.Title", "Drei Spielarten"},
        {"Help4.Start", "Kugeln zu Beginn"},
        {"Help4.Turn", "Neue Kugeln pro Zug"},
        {"Help4.Colours", "Farben"},
        {"Help4.Specials", "Besondere Kugeln"},
        {"Help4.Undo", "Rückgängig"},
        {"Help4.KidsStart", "3 Kugeln"},
        {"Help4.KidsTurn", "2 Kugeln"},
        {"Help4.KidsColours", "Erst 7, dann 6"},
        {"Help4.KidsSpecials", "Zweifarbig, Regenbogen"},
        {"Help4.KidsUndo", "Bis zum Anfang"},
        {"Help4.NormalStart", "6 Kugeln"},
        {"Help4.NormalTurn", "3 Kugeln"},
        {"Help4.NormalColours", "6"},
        {"Help4.NormalSpecials", "+ Bomben, Farbe, x3 x6 x9"},
        {"Help4.NormalUndo", "Der letzte Zug"},
        {"Help4.ProStart", "9 Kugeln"},
        {"Help4.ProTurn", "4 Kugeln"},
        {"Help4.ProColours", "Alle 7 kommen"},
        {"Help4.ProSpecials", "+ Bomben, Farbe, x3 x6 x9"},
        {"Help4.ProUndo", "Keiner"},
        {"Help4.Footer", "Rückgängig mit Strg+Z, der Rücktaste oder dem Knopf „Rückgängig“. Je "
                         "voller das Feld, desto weniger Kugeln kommen; jede Spielart hat ihre "
                         "eigene Bestenliste."},
        // Reduced motion, the symbols, the first-game tips and the payoff.
        {"Opt.ReducedMotion", "Weniger Bewegung"},
        {"Opt.Symbols", "Symbole auf Kugeln"},
        {"Opt.Tips", "Tipps im ersten Spiel"},
        {"Opt.Off", "Aus"},
        {"Opt.On", "An"},
        {"Opt.Faint", "Zart"},
        {"Opt.Clear", "Deutlich"},
        {"Game.Record", "Neuer Rekord!"},
        {"Chain", "Kette ×%s"},
        {"ReplayLegend", "» Wiederholung, grün wenn geprüft: anklicken"},
        {"ReplayHead", "Wiederholung"},
        {"ReplayKeys", "Leertaste: Pause   F: schneller   Esc: Ende"},
        {"ReplayPaused", "Pause"},
        {"LastSeed", "Startzahl des letzten Spiels: %s"},
        {"DailyResult", "Heute: %s Punkte, Serie %s   C: kopieren"},
        {"Tip_Start", "Fünf Kugeln einer Farbe in einer Reihe verschwinden. Klicke eine Kugel an."},
        {"Tip_Select", "Die hellen Felder zeigen, wohin die Kugel kann: klicke eines an. Sie rollt "
                       "nur über freie Felder."},
        {"Tip_Start_Keys", "Fünf Kugeln einer Farbe in einer Reihe verschwinden. Pfeiltasten "
                           "bewegen, die Leertaste nimmt eine Kugel."},
        {"Tip_Start_Pad", "Fünf Kugeln einer Farbe in einer Reihe verschwinden. Das Steuerkreuz "
                          "bewegt, A nimmt eine Kugel."},
        {"Tip_Start_Touch",
         "Fünf Kugeln einer Farbe in einer Reihe verschwinden. Tippe eine Kugel an."},
        {"Tip_Select_Keys", "Die hellen Felder zeigen, wohin die Kugel kann: hingehen, Leertaste "
                            "drücken. Sie rollt nur über freie Felder."},
        {"Tip_Select_Pad", "Die hellen Felder zeigen, wohin die Kugel kann: hingehen, A drücken. "
                           "Sie rollt nur über freie Felder."},
        {"Tip_Select_Touch", "Die hellen Felder zeigen, wohin die Kugel kann: tippe eines an oder "
                             "zieh sie hin. Sie rollt nur über freie Felder."},
        {"Tip_Line", "Fünf in einer Reihe: 50 Punkte, längere Reihen mehr. Reihen Zug um Zug "
                     "bringen einen Kettenbonus."},
        {"Tip_Undo", "Zurückgenommen! Kinder: beliebig oft. Normal: nur der letzte Zug. Es kommen "
                     "dieselben Kugeln."},
        {"Tip_TwoColour", "Eine zweifarbige Kugel zählt für beide Farben."},
        {"Tip_Rainbow", "Die Regenbogenkugel passt in eine Reihe jeder Farbe."},
        {"Tip_Paint", "Zieh eine Farbkugel neben andere: Sie platzt und färbt ihre Nachbarn."},
        {"Tip_Multiplier", "Ein Multiplikator passt zu jeder Farbe und zählt die Punkte seiner "
                           "Reihe 3-, 6- oder 9-fach."},
        {"Tip_Bomb", "Zieh eine Bombe neben andere Kugeln: Sie sprengt den 3 × 3-Block um sich."},
        {"Paused", "Pause"},
        {"PressAnyKey", "Beliebige Taste drücken"},
        {"SummaryRows", "Reihen\nLängste Serie\nBester Zug\nZüge\nZeit\nDein Rekord"},
        {"NewBest", "Neuer Rekord!"},
    };
    return t;
}

} // namespace artgen
