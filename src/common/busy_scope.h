// Marks a window busy for the life of a command that must not be re-entered
// from the event loop (a playback or a load yields while it waits). The flag
// falls again however the command ends, an exception included, so a window is
// never left deaf.
#pragma once

namespace quarvelt {

class BusyScope {
  public:
    explicit BusyScope(bool& busy) : busy_(busy) { busy_ = true; }
    ~BusyScope() { busy_ = false; }
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;

  private:
    bool& busy_;
};

}  // namespace quarvelt
