#include "entries.h"

namespace quarvelt::fuzz {

const std::vector<Target>& Targets() {
    static const std::vector<Target> targets = {
        {"puzzle_set", PuzzleSet},          {"help_manual", HelpManual},
        {"image_index", ImageIndexFile},    {"settings", SettingsFile},
        {"conditions", ConditionCatalogue}, {"board_run", BoardRun},
    };
    return targets;
}

}  // namespace quarvelt::fuzz
