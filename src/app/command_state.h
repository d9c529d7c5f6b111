#pragma once

namespace quil {

// The main window's commands, by the component that carries them.
enum class TCommand {
    FileOpen,
    File2,            // "Image file..."
    FileSaveClip,     // "Clipboard"
    FileReplayVideo,  // "Replay video..."
    Print1,           // the three items of the "Print" submenu
    FileClose,
    Exit1,
    ActionPlay,
    ActionPause,
    ActionStop,
    ActionFirst,
    ActionPrevious,
    ActionNext,
    ActionLast,
    OptionReplayRate,  // the ten rate items
    OptionGrid,
    OptionBG,
    OptionReverse,
    OptionQuality,  // "Best", "Middle", "Low"
    About1,
    ReplayStrip,  // a press in the replay strip
};

// The enabling rule of the main window, in one place. EnableCommands turns
// on or off, together, the replay strip, the menus "Action", "Option",
// "Save picture to" and "Print" with everything in them, and "Close";
// "Open", "Exit", the "Quality" menu and "About" are never disabled. Grid
// and Background are besides available only for a recording that has a grid
// or a background picture.
class TCommandState {
public:
    void EnableCommands(bool on) { commandsOn_ = on; }

    // Whether OptionGrid or OptionBG has something to act on.
    void SetAvailable(TCommand option, bool available);

    static bool FollowsEnableCommands(TCommand command);
    bool Enabled(TCommand command) const;

private:
    bool commandsOn_ = false;
    bool gridAvailable_ = true;
    bool backgroundAvailable_ = true;
};

}  // namespace quil
