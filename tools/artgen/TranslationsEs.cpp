// Spanish.
#include "tools/artgen/Translations.h"

namespace artgen {

const TTextTable& SpanishTexts() {
    static const TTextTable t = {
        {"MainCaption", "Velm Orra"},
        {"Options", "Opciones"},
        {"HighScores", "Récords"},
        {"Help", "Cómo se juega"},
        {"Kids", "Niños"},
        {"Normal", "Normal"},
        {"Proff", "Experto"},
        {"Exit_Caption", "¿Salir de Velm Orra?"},
        {"Exit_Text", "Las puntuaciones y los ajustes\nse guardan.\n\n¿Salir ahora?"},
        {"ExitKeep_Caption", "¿Salir de Velm Orra?"},
        {"ExitKeep_Text",
         "Tu partida se guarda: al volver\na empezar podrás seguir con ella.\n\n¿Salir ahora?"},
        {"GameOverReason", "No caben más bolas"},
        {"EnterNameChoice", "Sí: otra partida     No: ver la tabla"},
        {"New_Caption", "¿Empezar otra partida?"},
        {"New_Text", "Se perderá la partida en curso.\n\n¿Empezar una nueva de todos modos?"},
        {"Old_Caption", "¡Bienvenido de nuevo!"},
        {"Old_Text", "Tu última partida se guardó.\n\n¿Quieres continuarla?"},
        {"Clear_Caption", "¿Borrar esta tabla?"},
        {"Clear_Text", "Todos los nombres y puntos de la tabla\nvuelven a los del principio.\n\nNo "
                       "se puede deshacer."},
        {"EnterName_Caption", "¡Nuevo récord!"},
        {"EnterName_Text", "¡Bien jugado! Escribe tu nombre\ny pulsa Intro."},
        {"LowScore_Caption", "Fin de la partida"},
        {"LowScore_Text", "No caben más bolas.\nEsta vez no llega\npara la tabla.\n¿Otra partida?"},
        {"FullScreen_Caption", "Pantalla cambiada"},
        {"FullScreen_Text", "El nuevo modo de pantalla se usa\ndesde el próximo inicio.\n\n¿Salir "
                            "de Velm Orra ahora?"},
        {"NewGameHint", "Pulsa Nueva partida para jugar"},
        {"DemoLabel", "Demo: pulsa una tecla para jugar"},
        {"FinalScore", "Tu puntuación: %s"},
        {"FinalPlace", "Puesto %s de 10"},
        {"Statistics", "Estadísticas"},
        {"Places", "1.º\n2.º\n3.º\n4.º\n5.º\n6.º\n7.º\n8.º\n9.º\n10.º"},
        {"StatisticsRows", "Partidas jugadas\nPartidas terminadas\nMejor puntuación\nPuntuación "
                           "media\nLíneas hechas\nRacha más larga\nMejor jugada\nTiempo de juego"},
        {"ResetStats_Caption", "¿Borrar estadísticas?"},
        {"ResetStats_Text",
         "Todas las cifras de este modo\nvuelven a cero.\n\nNo se puede deshacer."},
        {"Btn.NewGame", "Nueva partida"},
        {"Btn.Kids", "Niños"},
        {"Btn.Normal", "Normal"},
        {"Btn.Professional", "Experto"},
        {"Btn.Options", "Opciones"},
        {"Btn.HowToPlay", "Cómo se juega"},
        {"Btn.HighScores", "Récords"},
        {"Btn.Exit", "Salir"},
        {"Btn.Back", "Volver"},
        {"Btn.Clear", "Borrar"},
        {"Btn.Yes", "Sí"},
        {"Btn.No", "No"},
        {"Btn.Previous", "Anterior"},
        {"Btn.Next", "Siguiente"},
        {"Table.TopTen", "LOS DIEZ MEJORES"},
        {"Table.Statistics", "ESTADÍSTICAS"},
        {"Opt.Sound", "Sonido"},
        {"Opt.Music", "Música"},
        {"Opt.FullScreen", "Pantalla completa"},
        {"Opt.NextStart", "(al reiniciar)"},
        {"Opt.Language", "Idioma"},
        {"Opt.System", "Idioma del sistema"},
        {"Opt.LanguageNote", "(se aplica al momento)"},
        {"Game.Score", "PUNTOS"},
        {"Game.Next", "PRÓXIMAS"},
        {"Game.Loading", "Cargando"},
        {"Colour.1", "rojo"},
        {"Colour.2", "verde"},
        {"Colour.3", "azul"},
        {"Colour.4", "amarillo"},
        {"Colour.5", "violeta"},
        {"Colour.6", "cian"},
        {"Colour.7", "blanco"},
        {"Help0.Title", "Mover las bolas"},
        {"Help0.1", "Haz clic en una bola para cogerla: empieza a botar."},
        {"Help0.2", "Haz clic en una casilla vacía para enviarla allí. La bola solo rueda por "
                    "casillas libres - arriba, abajo, a la izquierda o a la derecha, nunca en "
                    "diagonal - y toma el camino más corto."},
        {"Help0.3", "Una cruz roja marca una casilla a la que no llega. También puedes arrastrar "
                    "la bola; el botón derecho del ratón la vuelve a dejar."},
        {"Help1.3", "Cada jugada sin línea trae bolas nuevas, anunciadas en la bandeja de "
                    "próximas. Cuando ya no caben, la partida termina."},
        {"Help0.Keys", "Teclado: las flechas mueven un cursor por el tablero, Espacio o Intro "
                       "coge y envía, Esc suelta. F1 ayuda, F11 pantalla completa, M silencio, "
                       "Ctrl+N nueva partida."},
        {"Help1.Title", "Líneas y puntos"},
        {"Help1.1", "Alinea cinco o más bolas de un color en una fila, una columna o una "
                    "diagonal: desaparecen y suman puntos. Tras una jugada que borra una línea "
                    "no llegan bolas nuevas."},
        {"Help1.Five", "Cinco en línea"},
        {"Help1.Six", "Seis en línea"},
        {"Help1.Seven", "Siete en línea"},
        {"Help1.Cross", "Dos líneas de cinco cruzadas"},
        {"Help1.2", "Bonificación en cadena: borra líneas en jugadas seguidas. La segunda línea "
                    "seguida suma sus puntos una vez más, la tercera dos veces más, y así "
                    "sucesivamente - hasta una jugada que no borre nada."},
        {"Help2.Title", "Bolas especiales"},
        {"Help2.1", "Las bolas bicolores cuentan a la vez para sus dos colores."},
        {"Help2.2", "La bola arcoíris lleva todos los colores: encaja en cualquier línea."},
        {"Help2.3", "Los multiplicadores también encajan con cualquier color y multiplican los "
                    "puntos de su línea por 3, 6 o 9."},
        {"Help2.Colours", "Distinguir los colores"},
        {"Help2.Symbols", "Cada color lleva además un símbolo tenue: corazón, triángulo, anillo, "
                          "estrella, rombo, cruz y cuadrado."},
        {"Help3.Title", "Bolas de pintura y bombas"},
        {"Help3.1", "Una bola de pintura juega como una bola de su color - hasta que la mueves "
                    "junto a otras bolas. Entonces estalla y, un momento después, pinta de su "
                    "color todas las bolas a su alrededor."},
        {"Help3.2", "Mueve una bomba junto a otras bolas y hará volar todo el bloque de 3 x 3 a "
                    "su alrededor - las demás bombas también estallan. Las bolas voladas no "
                    "suman puntos."},
        {"Help3.3", "Cuando estalla una bola de pintura o una bomba, ese turno no llegan bolas "
                    "nuevas. Si la dejas sin vecinas, simplemente se queda ahí."},
        {"Help4.Title", "Tres maneras de jugar"},
        {"Help4.Start", "Bolas al empezar"},
        {"Help4.Turn", "Nuevas por turno"},
        {"Help4.Colours", "Colores"},
        {"Help4.Specials", "Bolas especiales"},
        {"Help4.Undo", "Deshacer"},
        {"Help4.KidsStart", "3 bolas"},
        {"Help4.KidsTurn", "2 bolas"},
        {"Help4.KidsColours", "7 al principio, luego 6"},
        {"Help4.KidsSpecials", "Bicolores, arcoíris"},
        {"Help4.KidsUndo", "Hasta el principio"},
        {"Help4.NormalStart", "6 bolas"},
        {"Help4.NormalTurn", "3 bolas"},
        {"Help4.NormalColours", "6"},
        {"Help4.NormalSpecials", "+ bombas, pintura, x3 x6 x9"},
        {"Help4.NormalUndo", "La última jugada"},
        {"Help4.ProStart", "9 bolas"},
        {"Help4.ProTurn", "4 bolas"},
        {"Help4.ProColours", "Llegan los 7"},
        {"Help4.ProSpecials", "+ bombas, pintura, x3 x6 x9"},
        {"Help4.ProUndo", "Ninguno"},
        {"Help4.Footer", "Deshaz con Ctrl+Z, Retroceso o el botón Deshacer. Llegan menos bolas "
                         "cuando el tablero se llena; cada modo tiene su propia tabla de los "
                         "diez mejores."},
        // Reduced motion, the symbols, the first-game tips and the payoff.
        {"Opt.ReducedMotion", "Menos movimiento"},
        {"Opt.Symbols", "Símbolos en bolas"},
        {"Opt.Tips", "Consejos al empezar"},
        {"Opt.Off", "No"},
        {"Opt.On", "Sí"},
        {"Opt.Faint", "Tenues"},
        {"Opt.Clear", "Claros"},
        {"Game.Record", "¡Nuevo récord!"},
        {"Chain", "Cadena ×%s"},
        {"ReplayLegend", "» una repetición, verde si está verificada: pulsa"},
        {"ReplayHead", "Repetición"},
        {"ReplayKeys", "Espacio: pausa   F: más rápido   Esc: parar"},
        {"ReplayPaused", "En pausa"},
        {"LastSeed", "Semilla de la última partida: %s"},
        {"DailyResult", "Partida del día: %s puntos, racha %s   C: copiar"},
        {"Tip_Start",
         "Alinea cinco bolas de un color para quitarlas. Haz clic en una bola para cogerla."},
        {"Tip_Select", "Las casillas iluminadas son adonde puede ir la bola: haz clic en una. Solo "
                       "rueda por casillas libres."},
        {"Tip_Start_Keys", "Alinea cinco bolas de un color para quitarlas. Las flechas mueven, "
                           "Espacio coge una bola."},
        {"Tip_Start_Pad",
         "Alinea cinco bolas de un color para quitarlas. La cruceta mueve, A coge una bola."},
        {"Tip_Start_Touch",
         "Alinea cinco bolas de un color para quitarlas. Toca una bola para cogerla."},
        {"Tip_Select_Keys", "Las casillas iluminadas son adonde puede ir la bola: ve allí y pulsa "
                            "Espacio. Solo rueda por casillas libres."},
        {"Tip_Select_Pad", "Las casillas iluminadas son adonde puede ir la bola: ve allí y pulsa "
                           "A. Solo rueda por casillas libres."},
        {"Tip_Select_Touch", "Las casillas iluminadas son adonde puede ir la bola: toca una o "
                             "arrastra la bola. Solo rueda por casillas libres."},
        {"Tip_Line", "Cinco en línea: 50 puntos; las líneas más largas, más. Líneas en jugadas "
                     "seguidas: bonus de cadena."},
        {"Tip_Undo", "¡Deshecho! Niños: tantas veces como quieras. Normal: solo la última jugada. "
                     "Vuelven las mismas bolas."},
        {"Tip_TwoColour", "Una bola de dos colores cuenta para los dos."},
        {"Tip_Rainbow", "La bola arcoíris vale para una línea de cualquier color."},
        {"Tip_Paint",
         "Una bola de pintura junto a otras estalla y pinta a sus vecinas de su color."},
        {"Tip_Multiplier", "Un multiplicador vale para cualquier color y multiplica los puntos de "
                           "su línea por 3, 6 o 9."},
        {"Tip_Bomb",
         "Lleva una bomba junto a otras bolas: vuela el bloque de 3 × 3 a su alrededor."},
        {"Paused", "En pausa"},
        {"PressAnyKey", "Pulsa una tecla"},
        {"SummaryRows", "Líneas\nCadena más larga\nMejor jugada\nJugadas\nTiempo\nTu récord"},
        {"NewBest", "¡Nuevo récord!"},
    };
    return t;
}

} // namespace artgen
