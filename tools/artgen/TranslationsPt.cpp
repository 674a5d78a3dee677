// Portuguese.
#include "tools/artgen/Translations.h"

namespace artgen {

const TTextTable& PortugueseTexts() {
    static const TTextTable t = {
        {"MainCaption", "Velm Orra"},
        {"Options", "Opções"},
        {"HighScores", "Recordes"},
        {"Help", "Como jogar"},
        {"Kids", "Crianças"},
        {"Normal", "Normal"},
        {"Proff", "Profissional"},
        {"Exit_Caption", "Sair de Velm Orra?"},
        {"Exit_Text", "As pontuações e as opções\nficam guardadas.\n\nSair agora?"},
        {"ExitKeep_Caption", "Sair de Velm Orra?"},
        {"ExitKeep_Text",
         "O seu jogo fica guardado: no próximo\narranque pode continuá-lo.\n\nSair agora?"},
        {"GameOverReason", "Não cabem mais bolas"},
        {"EnterNameChoice", "Sim: jogar outra vez     Não: ver a tabela"},
        {"New_Caption", "Começar um novo jogo?"},
        {"New_Text", "O jogo em curso será perdido.\n\nComeçar um novo mesmo assim?"},
        {"Old_Caption", "Bem-vindo de volta!"},
        {"Old_Text", "O seu último jogo foi guardado.\n\nQuer continuá-lo?"},
        {"Clear_Caption", "Limpar esta tabela?"},
        {"Clear_Text", "Todos os nomes e pontos desta tabela\nvoltam aos do início.\n\nNão será "
                       "possível desfazer."},
        {"EnterName_Caption", "Novo recorde!"},
        {"EnterName_Text", "Muito bem! Escreva o seu nome\ne carregue em Enter."},
        {"LowScore_Caption", "Fim do jogo"},
        {"LowScore_Text",
         "Não cabem mais bolas.\nDesta vez não chega\npara a tabela.\nJogar outra vez?"},
        {"FullScreen_Caption", "Ecrã alterado"},
        {"FullScreen_Text",
         "O novo modo de ecrã vale\na partir do próximo arranque.\n\nSair de Velm Orra agora?"},
        {"NewGameHint", "Clique em Novo jogo"},
        {"DemoLabel", "Demo: prima uma tecla para jogar"},
        {"FinalScore", "A sua pontuação: %s"},
        {"FinalPlace", "%s lugar de 10"},
        {"Statistics", "Estatísticas"},
        {"Places", "1.º\n2.º\n3.º\n4.º\n5.º\n6.º\n7.º\n8.º\n9.º\n10.º"},
        {"StatisticsRows", "Jogos jogados\nJogos terminados\nMelhor pontuação\nPontuação "
                           "média\nLinhas feitas\nMaior sequência\nMelhor jogada\nTempo de jogo"},
        {"ResetStats_Caption", "Repor estatísticas?"},
        {"ResetStats_Text",
         "Todos os números deste modo\nvoltam a zero.\n\nNão é possível desfazer."},
        {"Btn.NewGame", "Novo jogo"},
        {"Btn.Kids", "Crianças"},
        {"Btn.Normal", "Normal"},
        {"Btn.Professional", "Profissional"},
        {"Btn.Options", "Opções"},
        {"Btn.HowToPlay", "Como jogar"},
        {"Btn.HighScores", "Recordes"},
        {"Btn.Exit", "Sair"},
        {"Btn.Back", "Voltar"},
        {"Btn.Clear", "Limpar"},
        {"Btn.Yes", "Sim"},
        {"Btn.No", "Não"},
        {"Btn.Previous", "Anterior"},
        {"Btn.Next", "Seguinte"},
        {"Table.TopTen", "OS DEZ MELHORES"},
        {"Table.Statistics", "ESTATÍSTICAS"},
        {"Opt.Sound", "Som"},
        {"Opt.Music", "Música"},
        {"Opt.FullScreen", "Ecrã inteiro"},
        {"Opt.NextStart", "(ao reiniciar)"},
        {"Opt.Language", "Idioma"},
        {"Opt.System", "Idioma do sistema"},
        {"Opt.LanguageNote", "(aplica-se de imediato)"},
        {"Game.Score", "PONTOS"},
        {"Game.Next", "PRÓXIMAS"},
        {"Game.Loading", "A carregar"},
        {"Colour.1", "vermelho"},
        {"Colour.2", "verde"},
        {"Colour.3", "azul"},
        {"Colour.4", "amarelo"},
        {"Colour.5", "violeta"},
        {"Colour.6", "ciano"},
        {"Colour.7", "branco"},
        {"Help0.Title", "Mover as bolas"},
        {"Help0.1", "Clique numa bola para a apanhar: ela começa a saltar."},
        {"Help0.2", "Clique numa casa vazia para a enviar para lá. A bola só rola por casas "
                    "livres - para cima, para baixo, para a esquerda ou para a direita, nunca na "
                    "diagonal - e segue o caminho mais curto."},
        {"Help0.3", "Uma cruz vermelha marca uma casa que ela não alcança. Também pode arrastar "
                    "a bola; o botão direito do rato volta a pousá-la."},
        {"Help1.3", "Cada jogada sem linha traz bolas novas, anunciadas de antemão. Sem "
                    "lugar para elas, o jogo acaba."},
        {"Help0.Keys", "Teclado: as setas movem um cursor pelo tabuleiro, Espaço ou Enter apanha "
                       "e envia, Esc pousa. F1 ajuda, F11 ecrã inteiro, M sem som, Ctrl+N novo "
                       "jogo."},
        {"Help1.Title", "Linhas e pontos"},
        {"Help1.1", "Alinhe cinco ou mais bolas da mesma cor numa linha, numa coluna ou numa "
                    "diagonal: desaparecem e dão pontos. Depois de uma jogada que limpa uma linha "
                    "não chegam bolas novas."},
        {"Help1.Five", "Cinco em linha"},
        {"Help1.Six", "Seis em linha"},
        {"Help1.Seven", "Sete em linha"},
        {"Help1.Cross", "Duas linhas de cinco cruzadas"},
        {"Help1.2", "Bónus em cadeia: limpe linhas em jogadas seguidas. A segunda linha seguida "
                    "vale os seus pontos mais uma vez, a terceira mais duas vezes, e assim por "
                    "diante - até uma jogada que não limpe nada."},
        {"Help2.Title", "Bolas especiais"},
        {"Help2.1", "As bolas bicolores contam para as suas duas cores ao mesmo tempo."},
        {"Help2.2", "A bola arco-íris tem todas as cores: serve em qualquer linha."},
        {"Help2.3", "Os multiplicadores também servem para qualquer cor e multiplicam os pontos "
                    "da sua linha por 3, 6 ou 9."},
        {"Help2.Colours", "Distinguir as cores"},
        {"Help2.Symbols", "Cada cor tem também um símbolo suave: coração, triângulo, anel, "
                          "estrela, losango, cruz e quadrado."},
        {"Help3.Title", "Bolas de tinta e bombas"},
        {"Help3.1", "Uma bola de tinta joga como uma bola da sua cor - até a mover para junto de "
                    "outras bolas. Então rebenta e, um instante depois, pinta da sua cor todas as "
                    "bolas à sua volta."},
        {"Help3.2", "Mova uma bomba para junto de outras bolas e ela faz explodir todo o bloco de "
                    "3 x 3 à sua volta - as outras bombas também rebentam. As bolas explodidas "
                    "não dão pontos."},
        {"Help3.3", "Quando uma bola de tinta ou uma bomba rebenta, nesse turno não chegam bolas "
                    "novas. Sem vizinhas, fica simplesmente onde está."},
        {"Help4.Title", "Três maneiras de jogar"},
        {"Help4.Start", "Bolas no início"},
        {"Help4.Turn", "Bolas novas por turno"},
        {"Help4.Colours", "Cores"},
        {"Help4.Specials", "Bolas especiais"},
        {"Help4.Undo", "Desfazer"},
        {"Help4.KidsStart", "3 bolas"},
        {"Help4.KidsTurn", "2 bolas"},
        {"Help4.KidsColours", "7 no início, depois 6"},
        {"Help4.KidsSpecials", "Bicolores, arco-íris"},
        {"Help4.KidsUndo", "Até ao início"},
        {"Help4.NormalStart", "6 bolas"},
        {"Help4.NormalTurn", "3 bolas"},
        {"Help4.NormalColours", "6"},
        {"Help4.NormalSpecials", "+ bombas, tinta, x3 x6 x9"},
        {"Help4.NormalUndo", "A última jogada"},
        {"Help4.ProStart", "9 bolas"},
        {"Help4.ProTurn", "4 bolas"},
        {"Help4.ProColours", "Chegam as 7"},
        {"Help4.ProSpecials", "+ bombas, tinta, x3 x6 x9"},
        {"Help4.ProUndo", "Nenhum"},
        {"Help4.Footer", "Desfaça com Ctrl+Z, Retrocesso ou o botão Desfazer. Chegam menos bolas "
                         "à medida que o tabuleiro enche; cada modo tem a sua tabela dos dez "
                         "melhores."},
        // Reduced motion, the symbols, the first-game tips and the payoff.
        {"Opt.ReducedMotion", "Menos movimento"},
        {"Opt.Symbols", "Símbolos nas bolas"},
        {"Opt.Tips", "Dicas ao começar"},
        {"Opt.Off", "Não"},
        {"Opt.On", "Sim"},
        {"Opt.Faint", "Suaves"},
        {"Opt.Clear", "Nítidos"},
        {"Game.Record", "Novo recorde!"},
        {"Chain", "Cadeia ×%s"},
        {"ReplayLegend", "» uma repetição, verde se verificada: clique"},
        {"ReplayHead", "Repetição"},
        {"ReplayKeys", "Espaço: pausa   F: mais rápido   Esc: parar"},
        {"ReplayPaused", "Em pausa"},
        {"LastSeed", "Semente do último jogo: %s"},
        {"DailyResult", "Jogo do dia: %s pontos, sequência %s   C: copiar"},
        {"Tip_Start",
         "Alinhe cinco bolas de uma cor para tirá-las. Clique numa bola para pegá-la."},
        {"Tip_Select", "As casas acesas mostram aonde a bola pode ir: clique numa. Ela só rola por "
                       "casas livres."},
        {"Tip_Start_Keys",
         "Alinhe cinco bolas de uma cor para tirá-las. As setas movem, Espaço pega uma bola."},
        {"Tip_Start_Pad",
         "Alinhe cinco bolas de uma cor para tirá-las. O direcional move, A pega uma bola."},
        {"Tip_Start_Touch",
         "Alinhe cinco bolas de uma cor para tirá-las. Toque numa bola para pegá-la."},
        {"Tip_Select_Keys", "As casas acesas mostram aonde a bola pode ir: vá até lá e prima "
                            "Espaço. Ela só rola por casas livres."},
        {"Tip_Select_Pad", "As casas acesas mostram aonde a bola pode ir: vá até lá e prima A. Ela "
                           "só rola por casas livres."},
        {"Tip_Select_Touch", "As casas acesas mostram aonde a bola pode ir: toque numa ou arraste "
                             "a bola. Ela só rola por casas livres."},
        {"Tip_Line", "Cinco em linha: 50 pontos; linhas maiores, mais. Linhas em jogadas seguidas: "
                     "bónus de cadeia."},
        {"Tip_Undo", "Desfeito! Crianças: quantas vezes quiser. Normal: só a última jogada. Voltam "
                     "as mesmas bolas."},
        {"Tip_TwoColour", "Uma bola de duas cores conta para as duas."},
        {"Tip_Rainbow", "A bola arco-íris serve numa linha de qualquer cor."},
        {"Tip_Paint", "Uma bola de tinta junto de outras rebenta e pinta as vizinhas da sua cor."},
        {"Tip_Multiplier", "Um multiplicador serve em qualquer cor e multiplica os pontos da sua "
                           "linha por 3, 6 ou 9."},
        {"Tip_Bomb",
         "Leve uma bomba para junto de outras bolas: ela rebenta o bloco de 3 × 3 à sua volta."},
        {"Paused", "Em pausa"},
        {"PressAnyKey", "Prima uma tecla"},
        {"SummaryRows", "Linhas\nMaior cadeia\nMelhor jogada\nJogadas\nTempo\nO seu recorde"},
        {"NewBest", "Novo recorde!"},
    };
    return t;
}

} // namespace artgen
