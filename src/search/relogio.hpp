#pragma once

namespace kelm {

// Where the search reads time: the time of day for what the planner sees as clock times,
// and a monotonic clock for durations, so that a run across midnight lasts what it lasted.
class Relogio {
public:
    virtual ~Relogio() = default;
    // Local time of day as a fraction of a day.
    virtual double hora_do_dia() const = 0;
    // Seconds of a monotonic clock.
    virtual double segundos() const = 0;
};

// The system clocks.
class RelogioSistema : public Relogio {
public:
    double hora_do_dia() const override;
    double segundos() const override;
};

}  // namespace kelm
