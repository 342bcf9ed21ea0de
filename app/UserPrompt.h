#pragma once

// The questions the main frame asks the user: whether to save unsaved changes and which file
// to open or save to. The window asks with dialogs; tests answer with a recording prompt.

#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace korvane {

enum class SaveChoice { Save, Discard, Cancel };

class UserPrompt {
public:
    virtual ~UserPrompt() = default;
    // "Save changes to <file>?" with Save, Discard and Cancel.
    virtual SaveChoice AskSaveChanges(const QString& fileName) = 0;
    // The file to open, or nothing when the user cancels.
    virtual std::optional<QString> AskOpenFileName() = 0;
    // The file to save an untitled document to, or nothing when the user cancels.
    virtual std::optional<QString> AskSaveFileName() = 0;
};

// The filter of both file dialogs.
inline constexpr const char* kCartridgeFilter = "Nes Files (*.nes);;All Files (*)";

class DialogPrompt : public UserPrompt {
public:
    SaveChoice AskSaveChanges(const QString& fileName) override;
    std::optional<QString> AskOpenFileName() override;
    std::optional<QString> AskSaveFileName() override;
};

// Answers from queues filled by a test and records every question asked.
class RecordingPrompt : public UserPrompt {
public:
    std::vector<QString> saveQuestions;
    std::vector<SaveChoice> saveAnswers; // taken from the front; Cancel when empty
    QStringList openAnswers;             // taken from the front; an empty entry or none cancels
    QStringList saveNameAnswers;         // the same for the save name
    int openQuestions = 0;

    SaveChoice AskSaveChanges(const QString& fileName) override;
    std::optional<QString> AskOpenFileName() override;
    std::optional<QString> AskSaveFileName() override;
};

} // namespace korvane
