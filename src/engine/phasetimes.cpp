#include "engine/phasetimes.h"

namespace engine {

std::array<std::atomic<int64_t>, static_cast<size_t>(Phase::Count)> PhaseTimes::totals_{};

void PhaseTimes::Add(Phase phase, std::chrono::steady_clock::duration spent) {
    totals_[static_cast<size_t>(phase)] += std::chrono::duration_cast<std::chrono::nanoseconds>(spent).count();
}

double PhaseTimes::Milliseconds(Phase phase) {
    return static_cast<double>(totals_[static_cast<size_t>(phase)].load()) / 1e6;
}

const char* PhaseTimes::Name(Phase phase) {
    static const char* const kNames[] = {"pages", "set-up", "transfer", "file writes", "thumbnail", "hand-offs"};
    return kNames[static_cast<size_t>(phase)];
}

}  // namespace engine
