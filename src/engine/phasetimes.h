#pragma once
// Where the time of a search goes, phase by phase, summed over every thread: the benchmarks
// read it (quenby-cli --timings) to say where each millisecond of an image is spent. Costs two
// clock readings per timed step.
#include <array>
#include <atomic>
#include <chrono>
#include <cstdint>

namespace engine {

enum class Phase {
    Pages,      // results pages requested and received
    Setup,      // an image's request: session, connection, request, headers, the tests
    Transfer,   // an image's body read from the network (its file writes not included)
    Writes,     // the image file created, written and closed
    Thumbnail,  // the file read back, decoded, scaled, encoded
    Handoff,    // UI steps: handed to the UI thread, run there, waited for
    Count
};

class PhaseTimes {
public:
    static void Add(Phase phase, std::chrono::steady_clock::duration spent);
    static double Milliseconds(Phase phase);
    static const char* Name(Phase phase);

private:
    static std::array<std::atomic<int64_t>, static_cast<size_t>(Phase::Count)> totals_;
};

// Adds the time from its making to its end (or to Stop) to the phase.
class PhaseTimer {
public:
    explicit PhaseTimer(Phase phase) : phase_(phase), start_(std::chrono::steady_clock::now()) {}
    ~PhaseTimer() { Stop(); }
    PhaseTimer(const PhaseTimer&) = delete;
    PhaseTimer& operator=(const PhaseTimer&) = delete;
    void Stop() {
        if (stopped_) return;
        stopped_ = true;
        PhaseTimes::Add(phase_, std::chrono::steady_clock::now() - start_);
    }

private:
    Phase phase_;
    std::chrono::steady_clock::time_point start_;
    bool stopped_ = false;
};

}  // namespace engine
