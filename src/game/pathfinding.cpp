// The distance field in the level grid: a 4-connected flood over open cells that numbers each
// cell with its steps from an origin + 1, rebuilt from the player every frame and run once from
// the base when a level is made; and the enemies' choice of a step down that field.
#include "game/app.h"
#include "runtime/random.h"

namespace {

// Cells on the grid's outer ring are never numbered, so no flood step leaves the grid.
bool inside_ring(int c, int r) { return c >= 1 && c <= kGridSide - 2 && r >= 1 && r <= kGridSide - 2; }

}  // namespace

// Breadth-first with a queue of cell numbers: the cells come out in order of distance, so each
// is numbered once, on the step that first reaches it, exactly as a sweep over growing squares
// would number it, but visiting only the cells the flood reaches.
int c_MyApp::BuildDistanceField(int column, int row, int passes) {
    if (column < 0 || column >= kGridSide || row < 0 || row >= kGridSide) return 0;
    float* grid = &m_grid[0];
    for (int r = 0; r < kGridSide; ++r) {
        for (int c = 0; c < kGridSide; ++c) grid[cell_index(c, r) + kCellDistance] = 0;
    }
    if (passes < 1) return 0;

    int* queue = m_floodQueue.data();
    int head = 0, tail = 0;
    // The origin counts as reached even inside rock, so a column pressed into a wall still
    // leads the enemies to it.
    grid[cell_index(column, row) + kCellDistance] = 1;
    queue[tail++] = row * kGridStride + column;
    int largest = 1;
    static constexpr int kSteps[4][2] = {{0, -1}, {0, 1}, {1, 0}, {-1, 0}};
    while (head < tail) {
        int cell = queue[head++];
        int c = cell % kGridStride, r = cell / kGridStride;
        float next = grid[cell_index(c, r) + kCellDistance] + 1;
        if (next > passes) continue;
        for (const auto& step : kSteps) {
            int nc = c + step[0], nr = r + step[1];
            if (!inside_ring(nc, nr)) continue;
            float* neighbour = grid + cell_index(nc, nr);
            if (neighbour[kCellSolid] != 0 || neighbour[kCellDistance] != 0) continue;
            neighbour[kCellDistance] = next;
            queue[tail++] = nr * kGridStride + nc;
            largest = static_cast<int>(next);
        }
    }
    return largest;
}

bool c_MyApp::ChooseEnemyStep(int column, int row, float standOff, int* stepColumn, int* stepRow) {
    if (!inside_ring(column, row)) return false;
    const float* grid = &m_grid[0];
    int limit = static_cast<int>(grid[cell_index(column, row) + kCellDistance] + 1);
    static constexpr int kSteps[4][2] = {{-1, 0}, {1, 0}, {0, -1}, {0, 1}};
    bool chosen = false;
    for (const auto& step : kSteps) {
        int nc = column + step[0], nr = row + step[1];
        const float* neighbour = grid + cell_index(nc, nr);
        float distance = neighbour[kCellDistance];
        if (neighbour[kCellSolid] != 0 || distance >= limit || distance <= standOff) continue;
        if (kv_random_Rnd() * 20 < 2) {
            *stepColumn = nc;
            *stepRow = nr;
            chosen = true;
            break;
        }
    }
    kv_random_Rnd();  // the rule always spends one more draw, so the sequence stays aligned
    return chosen;
}
