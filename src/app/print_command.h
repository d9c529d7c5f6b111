#pragma once

class QWidget;

namespace quil {

class TQuil3Reader;

// The print command behind the three items of the "Print" submenu. The
// window runs it with the item's tag (200, 150 or 100: the quality factor in
// hundredths), its player and itself as the owner of any dialog; while no
// print command is set, the items do nothing.
class IPrintCommand {
public:
    virtual ~IPrintCommand() = default;
    virtual void Print(int tag, TQuil3Reader& player, QWidget& window) = 0;
};

}  // namespace quil
