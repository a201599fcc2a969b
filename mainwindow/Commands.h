#pragma once
// The main window's commands: one QAction per Command, with its caption, made
// once and shared by the menus, the toolbar and the right-button menus.
//
// A command runs what is connected to it with run(). Until something is, it
// stays disabled whatever its rule says, so no entry or button does nothing: a
// dialog's command is enabled by connecting its handler, e.g.
//     commands.run(Command::SearchSong, this, [this] { ...open the dialog... });
// When it can be used is its row in the table of CommandRules.cpp.

#include "mainwindow/Command.h"
#include "mainwindow/CommandRules.h"

#include <QAction>
#include <QObject>
#include <array>

namespace sonivo {

class Commands final : public QObject {
    Q_OBJECT
public:
    explicit Commands(QObject* parent);

    QAction* action(Command command) const { return actions_[size_t(command)]; }

    // Connects what the command runs, as QObject::connect does with a context.
    template <typename Context, typename Handler> void run(Command command, const Context* context, Handler handler)
    {
        connect(action(command), &QAction::triggered, context, std::move(handler));
        connected(command);
    }

    // Enables each connected command by its rule and leaves the others disabled.
    // A command whose rule is the row click is only enabled by the click.
    void apply(CommandInputs in);

private:
    void connected(Command command);

    std::array<QAction*, kCommandCount> actions_{};
    std::array<bool, kCommandCount> connected_{};
    bool showAllEnabled_ = false;
};

// A widget or action that stands for a command is enabled with it.
template <typename T> void followEnabled(T* follower, const QAction* command)
{
    follower->setEnabled(command->isEnabled());
    QObject::connect(command, &QAction::enabledChanged, follower, &T::setEnabled);
}

}  // namespace sonivo
