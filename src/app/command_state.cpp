#include "app/command_state.h"

namespace quil {

void TCommandState::SetAvailable(TCommand option, bool available) {
    if (option == TCommand::OptionGrid) gridAvailable_ = available;
    if (option == TCommand::OptionBG) backgroundAvailable_ = available;
}

bool TCommandState::FollowsEnableCommands(TCommand command) {
    switch (command) {
    case TCommand::FileOpen:
    case TCommand::Exit1:
    case TCommand::OptionQuality:
    case TCommand::About1: return false;
    default: return true;
    }
}

bool TCommandState::Enabled(TCommand command) const {
    if (!FollowsEnableCommands(command)) return true;
    if (!commandsOn_) return false;
    if (command == TCommand::OptionGrid) return gridAvailable_;
    if (command == TCommand::OptionBG) return backgroundAvailable_;
    return true;
}

}  // namespace quil
