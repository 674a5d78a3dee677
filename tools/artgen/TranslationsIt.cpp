// Italian.
#include "tools/artgen/Translations.h"

namespace artgen {

const TTextTable& ItalianTexts() {
    static const TTextTable t = {
        {"MainCaption", "Velm Orra"},
        {"Options", "Opzioni"},
        {"HighScores", "Punteggi migliori"},
        {"Help", "Come si gioca"},
        {"Kids", "Bambini"},
        {"Normal", "Normale"},
        {"Proff", "Esperto"},
        {"Exit_Caption", "Uscire da Velm Orra?"},
        {"Exit_Text", "Punteggi e impostazioni restano.\n\nUscire adesso?"},
        {"ExitKeep_Caption", "Uscire da Velm Orra?"},
        {"ExitKeep_Text",
         "La partita viene tenuta: al prossimo\navvio potrai continuarla.\n\nUscire adesso?"},
        {"GameOverReason", "Non c'è più posto per le biglie"},
        {"EnterNameChoice", "Sì: un'altra partita     No: la classifica"},
        {"New_Caption", "Nuova partita?"},
        {"New_Text", "La partita in corso andrà persa.\n\nIniziarne una nuova comunque?"},
        {"Old_Caption", "Bentornato!"},
        {"Old_Text", "La tua ultima partita è stata salvata.\n\nVuoi continuarla?"},
        {"Clear_Caption", "Azzerare la classifica?"},
        {"Clear_Text", "Tutti i nomi e i punteggi di questa\nclassifica tornano a quelli "
                       "iniziali.\n\nNon si potrà annullare."},
        {"EnterName_Caption", "Nuovo record!"},
        {"EnterName_Text", "Ben giocato! Scrivi il tuo nome\ne premi Invio."},
        {"LowScore_Caption", "Partita finita"},
        {"LowScore_Text",
         "Non c'è più posto.\nStavolta non basta\nper la classifica.\nUn'altra partita?"},
        {"FullScreen_Caption", "Schermo cambiato"},
        {"FullScreen_Text",
         "La nuova modalità vale\ndal prossimo avvio.\n\nUscire da Velm Orra adesso?"},
        {"NewGameHint", "Clicca su Nuova partita"},
        {"DemoLabel", "Demo: premi un tasto per giocare"},
        {"FinalScore", "Il tuo punteggio: %s"},
        {"FinalPlace", "%s posto su 10"},
        {"Statistics", "Statistiche"},
        {"Places", "1º\n2º\n3º\n4º\n5º\n6º\n7º\n8º\n9º\n10º"},
        {"StatisticsRows",
         "Partite giocate\nPartite finite\nPunteggio migliore\nPunteggio medio\nLinee "
         "completate\nCatena più lunga\nMossa migliore\nTempo di gioco"},
        {"ResetStats_Caption", "Azzerare le statistiche?"},
        {"ResetStats_Text",
         "Tutti i numeri di questa modalità\ntornano a zero.\n\nNon si può annullare."},
        {"Btn.NewGame", "Nuova partita"},
        {"Btn.Kids", "Bambini"},
        {"Btn.Normal", "Normale"},
        {"Btn.Professional", "Esperto"},
        {"Btn.Options", "Opzioni"},
        {"Btn.HowToPlay", "Come si gioca"},
        {"Btn.HighScores", "Classifica"},
        {"Btn.Exit", "Esci"},
        {"Btn.Back", "Indietro"},
        {"Btn.Clear", "Azzera"},
        {"Btn.Yes", "Sì"},
        {"Btn.No", "No"},
        {"Btn.Previous", "Precedente"},
        {"Btn.Next", "Avanti"},
        {"Table.TopTen", "I DIECI MIGLIORI"},
        {"Table.Statistics", "STATISTICHE"},
        {"Opt.Sound", "Suoni"},
        {"Opt.Music", "Musica"},
        {"Opt.FullScreen", "Schermo intero"},
        {"Opt.NextStart", "(al riavvio)"},
        {"Opt.Language", "Lingua"},
        {"Opt.System", "Lingua di sistema"},
        {"Opt.LanguageNote", "(vale subito)"},
        {"Game.Score", "PUNTI"},
        {"Game.Next", "PROSSIME"},
        {"Game.Loading", "Caricamento"},
        {"Colour.1", "rosso"},
        {"Colour.2", "verde"},
        {"Colour.3", "blu"},
        {"Colour.4", "giallo"},
        {"Colour.5", "viola"},
        {"Colour.6", "ciano"},
        {"Colour.7", "bianco"},
        {"Help0.Title", "Muovere le biglie"},
        {"Help0.1", "Fai clic su una biglia per prenderla: comincia a saltellare."},
        {"Help0.2", "Fai clic su una casella vuota per mandarla lì. La biglia rotola solo su "
                    "caselle libere - su, giù, a sinistra o a destra, mai in diagonale - e "
                    "prende la strada più breve."},
        {"Help0.3", "Una croce rossa segna una casella irraggiungibile. Si può anche trascinare "
                    "la biglia; il tasto destro del mouse la rimette giù."},
        {"Help1.3", "Ogni mossa senza linea porta nuove biglie, annunciate nel vassoio delle "
                    "prossime. Quando non c'è più posto per loro, la partita finisce."},
        {"Help0.Keys", "Tastiera: le frecce muovono un cursore sul campo, Spazio o Invio prende "
                       "e manda, Esc posa. F1 aiuto, F11 schermo intero, M muto, Ctrl+N nuova "
                       "partita."},
        {"Help1.Title", "Linee e punti"},
        {"Help1.1", "Allinea cinque o più biglie di un colore in riga, in colonna o in "
                    "diagonale: spariscono e fanno punti. Dopo una mossa che toglie una linea non "
                    "arrivano nuove biglie."},
        {"Help1.Five", "Cinque in linea"},
        {"Help1.Six", "Sei in linea"},
        {"Help1.Seven", "Sette in linea"},
        {"Help1.Cross", "Due linee da cinque incrociate"},
        {"Help1.2", "Bonus a catena: togli linee in mosse consecutive. La seconda linea di fila "
                    "vale i suoi punti ancora una volta, la terza altre due volte, e così via - "
                    "finché una mossa non toglie nulla."},
        {"Help2.Title", "Biglie speciali"},
        {"Help2.1", "Le biglie bicolori valgono per entrambi i loro colori insieme."},
        {"Help2.2", "La biglia arcobaleno ha tutti i colori: va bene in ogni linea."},
        {"Help2.3", "Anche i moltiplicatori vanno bene con ogni colore e moltiplicano i punti "
                    "della loro linea per 3, 6 o 9."},
        {"Help2.Colours", "Distinguere i colori"},
        {"Help2.Symbols", "Ogni colore porta anche un tenue simbolo: cuore, triangolo, anello, "
                          "stella, rombo, croce e quadrato."},
        {"Help3.Title", "Biglie di vernice e bombe"},
        {"Help3.1", "Una biglia di vernice gioca come una biglia del suo colore - finché non la "
                    "sposti accanto ad altre biglie. Allora scoppia e, un attimo dopo, dipinge "
                    "del suo colore tutte le biglie intorno."},
        {"Help3.2", "Sposta una bomba accanto ad altre biglie e farà saltare tutto il blocco 3 x "
                    "3 intorno a sé - anche le altre bombe esplodono. Le biglie saltate non "
                    "fanno punti."},
        {"Help3.3", "Quando scoppia una biglia di vernice o una bomba, in quel turno non "
                    "arrivano nuove biglie. Senza vicine, resta semplicemente lì."},
        {"Help4.Title", "Tre modi di giocare"},
        {"Help4.Start", "Biglie all'inizio"},
        {"Help4.Turn", "Nuove per turno"},
        {"Help4.Colours", "Colori"},
        {"Help4.Specials", "Biglie speciali"},
        {"Help4.Undo", "Annulla"},
        {"Help4.KidsStart", "3 biglie"},
        {"Help4.KidsTurn", "2 biglie"},
        {"Help4.KidsColours", "7 all'inizio, poi 6"},
        {"Help4.KidsSpecials", "Bicolori, arcobaleno"},
        {"Help4.KidsUndo", "Fino all'inizio"},
        {"Help4.NormalStart", "6 biglie"},
        {"Help4.NormalTurn", "3 biglie"},
        {"Help4.NormalColours", "6"},
        {"Help4.NormalSpecials", "+ bombe, vernice, x3 x6 x9"},
        {"Help4.NormalUndo", "L'ultima mossa"},
        {"Help4.ProStart", "9 biglie"},
        {"Help4.ProTurn", "4 biglie"},
        {"Help4.ProColours", "Arrivano tutti e 7"},
        {"Help4.ProSpecials", "+ bombe, vernice, x3 x6 x9"},
        {"Help4.ProUndo", "Nessuno"},
        {"Help4.Footer", "Annulla con Ctrl+Z, Backspace o il pulsante Annulla. Arrivano meno "
                         "biglie man mano che il campo si riempie; ogni modo ha la sua classifica "
                         "dei dieci migliori."},
        // Reduced motion, the symbols, the first-game tips and the payoff.
        {"Opt.ReducedMotion", "Meno movimento"},
        {"Opt.Symbols", "Simboli sulle biglie"},
        {"Opt.Tips", "Consigli iniziali"},
        {"Opt.Off", "No"},
        {"Opt.On", "Sì"},
        {"Opt.Faint", "Tenui"},
        {"Opt.Clear", "Netti"},
        {"Game.Record", "Nuovo record!"},
        {"Chain", "Catena ×%s"},
        {"ReplayLegend", "» un replay, verde se verificato: clicca per vederlo"},
        {"ReplayHead", "Replay"},
        {"ReplayKeys", "Spazio: pausa   F: più veloce   Esc: stop"},
        {"ReplayPaused", "In pausa"},
        {"LastSeed", "Seme dell'ultima partita: %s"},
        {"DailyResult", "Partita del giorno: %s punti, serie %s   C: copia"},
        {"Tip_Start",
         "Allinea cinque biglie di un colore per toglierle. Fai clic su una biglia per prenderla."},
        {"Tip_Select", "Le caselle illuminate mostrano dove può andare la biglia: cliccane una. "
                       "Rotola solo sulle caselle libere."},
        {"Tip_Start_Keys", "Allinea cinque biglie di un colore per toglierle. Le frecce muovono, "
                           "Spazio prende una biglia."},
        {"Tip_Start_Pad",
         "Allinea cinque biglie di un colore per toglierle. La croce muove, A prende una biglia."},
        {"Tip_Start_Touch",
         "Allinea cinque biglie di un colore per toglierle. Tocca una biglia per prenderla."},
        {"Tip_Select_Keys", "Le caselle illuminate mostrano dove può andare la biglia: vai lì e "
                            "premi Spazio. Rotola solo sulle caselle libere."},
        {"Tip_Select_Pad", "Le caselle illuminate mostrano dove può andare la biglia: vai lì e "
                           "premi A. Rotola solo sulle caselle libere."},
        {"Tip_Select_Touch", "Le caselle illuminate mostrano dove può andare la biglia: toccane "
                             "una o trascinala. Rotola solo sulle caselle libere."},
        {"Tip_Line", "Cinque in fila: 50 punti, le file più lunghe di più. File in mosse di "
                     "seguito: bonus catena."},
        {"Tip_Undo", "Annullata! Bambini: quante volte vuoi. Normale: solo l'ultima mossa. Tornano "
                     "le stesse biglie."},
        {"Tip_TwoColour", "Una biglia bicolore conta per entrambi i colori."},
        {"Tip_Rainbow", "La biglia arcobaleno va bene in una fila di ogni colore."},
        {"Tip_Paint",
         "Una biglia di vernice accanto ad altre scoppia e dipinge le vicine del suo colore."},
        {"Tip_Multiplier",
         "Un moltiplicatore va con ogni colore e moltiplica i punti della sua fila per 3, 6 o 9."},
        {"Tip_Bomb",
         "Porta una bomba accanto ad altre biglie: fa saltare il blocco 3 × 3 intorno a sé."},
        {"Paused", "In pausa"},
        {"PressAnyKey", "Premi un tasto"},
        {"SummaryRows", "Linee\nCatena più lunga\nMossa migliore\nMosse\nTempo\nIl tuo record"},
        {"NewBest", "Nuovo record!"},
    };
    return t;
}

} // namespace artgen
