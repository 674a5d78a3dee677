#pragma once
// The game's own player: from a board at the player's turn it chooses a move. It plays by the
// rules' own functions (PlayMove) on copies and draws what it cannot know — where the next balls
// land and which balls follow the known preview — from a generator of its own, seeded from the
// position, so that the same position always gets the same answer and the game's generator never
// moves.
//
// Two players:
// - greedy, the baseline: the move that scores most at once (its lines and a paint ball's
//   repaint), ties broken by the balls it lines up with;
// - best: looks at every move, follows the most promising ones into sampled futures (the move, the
//   known preview's balls on drawn cells, then a quick policy for a few turns with drawn
//   previews), and judges where each future ends by features of the board: free cells, open
//   lines, the empty regions' size and fragmentation. The futures are shared out by successive
//   halving: every candidate gets some, the better half gets more, until one is left.
#include "game/Board.h"

#include <cstdint>
#include <vector>

enum class TPlayerKind : uint8_t { Best, Greedy };

// How much the best player looks ahead, counted in simulated turns, never in time, so that it
// chooses the same move on any machine at any load.
struct TSearchBudget {
    int Candidates = 12; // moves followed into futures, the best of the first look
    int Futures = 480;   // sampled futures in all, shared out among the candidates
    int Depth = 10;      // turns each future plays after the candidate move
};

// Every legal move: each ball to each empty cell of the regions next to it, balls in cell order
// (column by column), each ball's targets likewise.
std::vector<TMove> LegalMoves(const TBoard& board);

// The points the move brings for certain: its lines and those of a paint ball's repaint (not the
// new balls', which land at random).
int32_t ImmediatePoints(const TBoard& board, const TMove& move);

// The board's worth beyond its score, in points: higher for more room, open lines and one large
// empty region; very low when the next balls may find no room.
double EvaluateBoard(const TBoard& board);

// A seed for the position's futures: the same board always gives the same seed.
uint64_t PositionSeed(const TBoard& board);

// A search that can run in slices. Start sets it up; each Run plays at most `turns` simulated
// turns and says whether the choice is made; Result is the chosen move (invalid when the board
// has no move).
class TMoveSearch {
public:
    void Start(const TBoard& board, TPlayerKind kind, const TSearchBudget& budget = {});
    bool Run(int64_t turns);
    bool Done() const { return done_; }
    TMove Result() const { return result_; }
    // Simulated turns played so far (the first look counts one a move).
    int64_t Turns() const { return turns_; }

private:
    void FirstLook();
    void NextRound();
    void Finish();
    double Future(const TMove& move, uint64_t seed);

    struct TCandidate {
        TMove Move;
        double Sum = 0.0;
        int Count = 0;
        double Mean() const { return Count > 0 ? Sum / Count : -1e18; }
    };

    TBoard board_;
    TPlayerKind kind_ = TPlayerKind::Best;
    TSearchBudget budget_;
    bool started_ = false;
    bool done_ = false;
    TMove result_;
    int64_t turns_ = 0;
    uint64_t seed_ = 0;
    std::vector<TCandidate> candidates_; // the ones still in the running
    int rounds_ = 0;                     // rounds of halving in all
    int round_ = 0;
    int perCandidate_ = 0; // futures each candidate gets in this round
    size_t next_ = 0;      // the candidate whose futures run next in this round
    int played_ = 0;       // futures it has had in this round
};

// The move a player chooses, searched whole.
TMove ChooseMove(const TBoard& board, TPlayerKind kind, const TSearchBudget& budget = {});
