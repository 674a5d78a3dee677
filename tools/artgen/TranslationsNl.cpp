// Dutch.
#include "tools/artgen/Translations.h"

namespace artgen {

const TTextTable& DutchTexts() {
    static const TTextTable t = {
        {"MainCaption", "Velm Orra"},
        {"Options", "Opties"},
        {"HighScores", "Topscores"},
        {"Help", "Zo speel je"},
        {"Kids", "Kinderen"},
        {"Normal", "Normaal"},
        {"Proff", "Expert"},
        {"Exit_Caption", "Velm Orra verlaten?"},
        {"Exit_Text", "Scores en instellingen blijven bewaard.\n\nNu stoppen?"},
        {"ExitKeep_Caption", "Velm Orra verlaten?"},
        {"ExitKeep_Text",
         "Je spel wordt bewaard: bij de\nvolgende start kun je verder.\n\nNu stoppen?"},
        {"GameOverReason", "Geen plaats meer voor nieuwe ballen"},
        {"EnterNameChoice", "Ja: nog een keer     Nee: naar de lijst"},
        {"New_Caption", "Nieuw spel beginnen?"},
        {"New_Text", "Het lopende spel gaat verloren.\n\nToch opnieuw beginnen?"},
        {"Old_Caption", "Welkom terug!"},
        {"Old_Text", "Je vorige spel is bewaard.\n\nWil je verder spelen?"},
        {"Clear_Caption", "Deze lijst wissen?"},
        {"Clear_Text", "Alle namen en scores van deze lijst\ngaan terug naar die van het "
                       "begin.\n\nDit kan niet ongedaan worden."},
        {"EnterName_Caption", "Een nieuwe topscore!"},
        {"EnterName_Text", "Goed gespeeld! Typ je naam\nen druk op Enter."},
        {"LowScore_Caption", "Spel voorbij"},
        {"LowScore_Text", "Geen plaats meer.\nNet niet genoeg\nvoor de lijst.\nNog een keer?"},
        {"FullScreen_Caption", "Weergave gewijzigd"},
        {"FullScreen_Text",
         "De nieuwe weergave geldt\nvanaf de volgende start.\n\nVelm Orra nu afsluiten?"},
        {"NewGameHint", "Klik op Nieuw spel"},
        {"DemoLabel", "Demo: druk op een toets om te spelen"},
        {"FinalScore", "Jouw score: %s"},
        {"FinalPlace", "%s plaats van 10"},
        {"Statistics", "Statistieken"},
        {"Places", "1e\n2e\n3e\n4e\n5e\n6e\n7e\n8e\n9e\n10e"},
        {"StatisticsRows", "Gespeelde spellen\nUitgespeelde spellen\nBeste score\nGemiddelde "
                           "score\nWeggespeelde rijen\nLangste reeks\nBeste zet\nSpeeltijd"},
        {"ResetStats_Caption", "Statistieken wissen?"},
        {"ResetStats_Text",
         "Alle cijfers van deze stand\ngaan terug naar nul.\n\nDit kan niet ongedaan worden."},
        {"Btn.NewGame", "Nieuw spel"},
        {"Btn.Kids", "Kinderen"},
        {"Btn.Normal", "Normaal"},
        {"Btn.Professional", "Expert"},
        {"Btn.Options", "Opties"},
        {"Btn.HowToPlay", "Zo speel je"},
        {"Btn.HighScores", "Topscores"},
        {"Btn.Exit", "Afsluiten"},
        {"Btn.Back", "Terug"},
        {"Btn.Clear", "Wissen"},
        {"Btn.Yes", "Ja"},
        {"Btn.No", "Nee"},
        {"Btn.Previous", "Vorige"},
        {"Btn.Next", "Volgende"},
        {"Table.TopTen", "TOP TIEN"},
        {"Table.Statistics", "STATISTIEKEN"},
        {"Opt.Sound", "Geluid"},
        {"Opt.Music", "Muziek"},
        {"Opt.FullScreen", "Volledig scherm"},
        {"Opt.NextStart", "(na herstart)"},
        {"Opt.Language", "Taal"},
        {"Opt.System", "Systeemtaal"},
        {"Opt.LanguageNote", "(geldt meteen)"},
        {"Game.Score", "SCORE"},
        {"Game.Next", "HIERNA"},
        {"Game.Loading", "Laden"},
        {"Colour.1", "rood"},
        {"Colour.2", "groen"},
        {"Colour.3", "blauw"},
        {"Colour.4", "geel"},
        {"Colour.5", "violet"},
        {"Colour.6", "cyaan"},
        {"Colour.7", "wit"},
        {"Help0.Title", "De ballen verplaatsen"},
        {"Help0.1", "Klik op een bal om hem op te pakken: hij begint te stuiteren."},
        {"Help0.2", "Klik op een leeg vak om hem erheen te sturen. De bal rolt alleen over vrije "
                    "vakken - omhoog, omlaag, naar links of rechts, nooit schuin - en neemt de "
                    "kortste weg."},
        {"Help0.3", "Een rood kruis toont een vak dat hij niet kan bereiken. Slepen kan ook; met "
                    "de rechtermuisknop zet je hem weer neer."},
        {"Help1.3", "Elke zet zonder rij brengt nieuwe ballen, vooraf getoond bij Hierna. Is er "
                    "geen plaats meer voor ze, dan is het spel voorbij."},
        {"Help0.Keys", "Toetsenbord: de pijltjes bewegen een cursor over het bord, Spatie of "
                       "Enter pakt op en stuurt, Esc zet neer. F1 hulp, F11 volledig scherm, M "
                       "stil, Ctrl+N nieuw spel."},
        {"Help1.Title", "Rijen en punten"},
        {"Help1.1", "Zet vijf of meer ballen van één kleur op een rij, in een kolom of diagonaal: "
                    "ze verdwijnen en leveren punten op. Na een zet die een rij wegspeelt komen "
                    "er geen nieuwe ballen."},
        {"Help1.Five", "Vijf op een rij"},
        {"Help1.Six", "Zes op een rij"},
        {"Help1.Seven", "Zeven op een rij"},
        {"Help1.Cross", "Twee gekruiste rijen van vijf"},
        {"Help1.2", "Kettingbonus: speel rijen weg in opeenvolgende zetten. De tweede rij op "
                    "rij telt haar punten nog een keer, de derde nog twee keer, enzovoort - tot "
                    "een zet niets wegspeelt."},
        {"Help2.Title", "Bijzondere ballen"},
        {"Help2.1", "Tweekleurige ballen tellen voor hun beide kleuren tegelijk."},
        {"Help2.2", "De regenboogbal draagt elke kleur: hij past in elke rij."},
        {"Help2.3", "Vermenigvuldigers passen ook bij elke kleur en vermenigvuldigen de punten "
                    "van hun rij met 3, 6 of 9."},
        {"Help2.Colours", "De kleuren uit elkaar houden"},
        {"Help2.Symbols", "Elke kleur draagt ook een eigen vaag teken: hart, driehoek, ring, ster, "
                          "ruit, kruis en vierkant."},
        {"Help3.Title", "Verfballen en bommen"},
        {"Help3.1", "Een verfbal speelt als een bal van zijn kleur - tot je hem naast andere "
                    "ballen zet. Dan barst hij en verft even later alle ballen om zich heen in "
                    "zijn kleur."},
        {"Help3.2", "Zet een bom naast andere ballen en hij blaast het hele blok van 3 x 3 om "
                    "zich heen op - andere bommen gaan mee. Opgeblazen ballen leveren niets op."},
        {"Help3.3", "Gaat een verfbal of bom af, dan komen er die beurt geen nieuwe ballen. "
                    "Zonder buren blijft hij gewoon liggen."},
        {"Help4.Title", "Drie manieren van spelen"},
        {"Help4.Start", "Ballen bij de start"},
        {"Help4.Turn", "Nieuwe ballen per zet"},
        {"Help4.Colours", "Kleuren"},
        {"Help4.Specials", "Bijzondere ballen"},
        {"Help4.Undo", "Ongedaan maken"},
        {"Help4.KidsStart", "3 ballen"},
        {"Help4.KidsTurn", "2 ballen"},
        {"Help4.KidsColours", "Eerst 7, dan 6"},
        {"Help4.KidsSpecials", "Tweekleurig, regenboog"},
        {"Help4.KidsUndo", "Tot het begin"},
        {"Help4.NormalStart", "6 ballen"},
        {"Help4.NormalTurn", "3 ballen"},
        {"Help4.NormalColours", "6"},
        {"Help4.NormalSpecials", "+ bommen, verf, x3 x6 x9"},
        {"Help4.NormalUndo", "De laatste zet"},
        {"Help4.ProStart", "9 ballen"},
        {"Help4.ProTurn", "4 ballen"},
        {"Help4.ProColours", "Alle 7 komen"},
        {"Help4.ProSpecials", "+ bommen, verf, x3 x6 x9"},
        {"Help4.ProUndo", "Geen"},
        {"Help4.Footer", "Ongedaan maken met Ctrl+Z, Backspace of de knop. Hoe voller het bord, "
                         "hoe minder ballen er komen; elke manier heeft een eigen lijst met de "
                         "tien beste scores."},
        // Reduced motion, the symbols, the first-game tips and the payoff.
        {"Opt.ReducedMotion", "Minder beweging"},
        {"Opt.Symbols", "Tekens op ballen"},
        {"Opt.Tips", "Tips bij het begin"},
        {"Opt.Off", "Uit"},
        {"Opt.On", "Aan"},
        {"Opt.Faint", "Vaag"},
        {"Opt.Clear", "Duidelijk"},
        {"Game.Record", "Nieuw record!"},
        {"Chain", "Keten ×%s"},
        {"ReplayLegend", "» een herhaling, groen als gecontroleerd: klik"},
        {"ReplayHead", "Herhaling"},
        {"ReplayKeys", "Spatie: pauze   F: sneller   Esc: stop"},
        {"ReplayPaused", "Gepauzeerd"},
        {"LastSeed", "Startgetal van het laatste spel: %s"},
        {"DailyResult", "Vandaag: %s punten, reeks %s   C: kopiëren"},
        {"Tip_Start", "Zet vijf ballen van één kleur op een rij om ze weg te spelen. Klik een bal "
                      "om hem op te pakken."},
        {"Tip_Select", "De verlichte vakken tonen waar deze bal heen kan: klik er een. Hij rolt "
                       "alleen over vrije vakken."},
        {"Tip_Start_Keys", "Zet vijf ballen van één kleur op een rij om ze weg te spelen. Pijltjes "
                           "bewegen, spatie pakt een bal."},
        {"Tip_Start_Pad", "Zet vijf ballen van één kleur op een rij om ze weg te spelen. Het kruis "
                          "beweegt, A pakt een bal."},
        {"Tip_Start_Touch", "Zet vijf ballen van één kleur op een rij om ze weg te spelen. Tik een "
                            "bal aan om hem op te pakken."},
        {"Tip_Select_Keys", "De verlichte vakken tonen waar deze bal heen kan: ga erheen, druk op "
                            "spatie. Hij rolt alleen over vrije vakken."},
        {"Tip_Select_Pad", "De verlichte vakken tonen waar deze bal heen kan: ga erheen, druk op "
                           "A. Hij rolt alleen over vrije vakken."},
        {"Tip_Select_Touch", "De verlichte vakken tonen waar deze bal heen kan: tik er een aan of "
                             "sleep de bal. Hij rolt alleen over vrije vakken."},
        {"Tip_Line", "Vijf op een rij: 50 punten, langere rijen meer. Rijen in opeenvolgende "
                     "zetten: ketenbonus."},
        {"Tip_Undo", "Teruggenomen! Kinderen: zo vaak je wilt. Normaal: alleen de laatste zet. "
                     "Dezelfde ballen komen terug."},
        {"Tip_TwoColour", "Een tweekleurige bal telt voor allebei zijn kleuren."},
        {"Tip_Rainbow", "De regenboogbal past in een rij van elke kleur."},
        {"Tip_Paint", "Een verfbal naast andere barst en verft zijn buren in zijn kleur."},
        {"Tip_Multiplier",
         "Een vermenigvuldiger past bij elke kleur en telt de punten van zijn rij 3, 6 of 9 keer."},
        {"Tip_Bomb",
         "Zet een bom naast andere ballen: hij blaast het blok van 3 × 3 om zich heen op."},
        {"Paused", "Gepauzeerd"},
        {"PressAnyKey", "Druk op een toets"},
        {"SummaryRows", "Lijnen\nLangste reeks\nBeste zet\nZetten\nTijd\nJouw record"},
        {"NewBest", "Nieuw record!"},
    };
    return t;
}

} // namespace artgen
