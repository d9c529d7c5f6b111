#pragma once

#include <memory>

#include "app/print_command.h"

class QPrinter;
class QString;

namespace quil {

// What the print command asks of the system. The toolkit answers for the
// program; tests answer instead, with a printer of their own.
class IPrintSystem {
public:
    virtual ~IPrintSystem() = default;
    // Whether the system lists at least one printer.
    virtual bool HasPrinter() = 0;
    // Readies the printer a print starts from, a new one (the system's
    // default printer, when it has one).
    virtual void SetUpPrinter(QPrinter& printer) = 0;
    // A message box with an OK button, owned by `owner`.
    virtual void Message(QWidget& owner, const QString& caption, const QString& text) = 0;
};

// The system's printers (CUPS): the default one, else the first listed;
// and the toolkit's message boxes.
class TQtPrintSystem final : public IPrintSystem {
public:
    bool HasPrinter() override;
    void SetUpPrinter(QPrinter& printer) override;
    void Message(QWidget& owner, const QString& caption, const QString& text) override;
};

// The print command of the three Print items (Print1Click): without a
// printer it says so and does nothing else. Otherwise it pauses the replay,
// renders the page at the current position into the print dialog's area
// preview, runs the dialog centred on the window and, on "Print", prints
// the chosen area where the dialog placed it, at the item's quality. The
// replay stays paused. A print that did not go out is reported in a
// message box.
class TQtPrintCommand final : public IPrintCommand {
public:
    // `system` nullptr: the system's printers and message boxes.
    explicit TQtPrintCommand(std::unique_ptr<IPrintSystem> system = nullptr);
    ~TQtPrintCommand() override;

    void Print(int tag, TQuil3Reader& player, QWidget& window) override;

private:
    void Message(QWidget& window, const char* text);

    std::unique_ptr<IPrintSystem> system_;
};

}  // namespace quil
