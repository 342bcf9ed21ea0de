#pragma once

// The emulator command of the Preferences: a program and its arguments, split as a shell splits
// them (quotes and backslashes) but never run through one, where {file} stands for the path of
// the cartridge to play.

#include <QString>
#include <QStringList>

namespace korvane {

inline constexpr const char* kCartridgePlaceholder = "{file}";

class EmulatorCommand {
public:
    explicit EmulatorCommand(const QString& text);

    // No program at all (an empty or blank command).
    bool empty() const { return words_.isEmpty(); }
    // The program as the command names it: a name looked for on the PATH, or a path.
    QString program() const { return words_.isEmpty() ? QString() : words_.first(); }
    // The program's arguments for a cartridge: every {file} replaced by its path, or the path
    // after them all when the command has no {file}.
    QStringList ArgumentsFor(const QString& cartridge) const;

    // The words of a command as a POSIX shell splits them, without any expansion: blanks part
    // words; single quotes keep everything up to the next one; double quotes keep everything
    // but a backslash before $ ` " \ or a line feed; a backslash elsewhere keeps the next
    // character (and drops a line feed). An unclosed quote runs to the end.
    static QStringList Split(const QString& text);
    // A word as it is written in a command: in single quotes when it holds a blank, a quote or
    // a backslash, so that Split gives it back.
    static QString Quoted(const QString& word);
    // The command with its program replaced by another one (Browse...), its arguments kept.
    static QString WithProgram(const QString& command, const QString& program);

private:
    QStringList words_;
};

} // namespace korvane
