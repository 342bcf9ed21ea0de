#include "EmulatorCommand.h"

namespace korvane {

EmulatorCommand::EmulatorCommand(const QString& text) : words_(Split(text)) {}

QStringList EmulatorCommand::ArgumentsFor(const QString& cartridge) const {
    const QString placeholder = QString::fromLatin1(kCartridgePlaceholder);
    QStringList arguments;
    bool placed = false;
    for (qsizetype i = 1; i < words_.size(); ++i) {
        QString word = words_.at(i);
        if (word.contains(placeholder)) {
            word.replace(placeholder, cartridge);
            placed = true;
        }
        arguments.append(word);
    }
    if (!placed) {
        arguments.append(cartridge);
    }
    return arguments;
}

QStringList EmulatorCommand::Split(const QString& text) {
    enum class Quote { None, Single, Double };
    QStringList words;
    QString word;
    bool inWord = false;
    Quote quote = Quote::None;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        const bool hasNext = i + 1 < text.size();
        switch (quote) {
        case Quote::Single:
            if (c == u'\'') {
                quote = Quote::None;
            } else {
                word.append(c);
            }
            continue;
        case Quote::Double:
            if (c == u'"') {
                quote = Quote::None;
            } else if (c == u'\\' && hasNext &&
                       QStringLiteral("$`\"\\\n").contains(text.at(i + 1))) {
                if (text.at(i + 1) != u'\n') {
                    word.append(text.at(i + 1));
                }
                ++i;
            } else {
                word.append(c);
            }
            continue;
        case Quote::None:
            break;
        }
        if (c == u' ' || c == u'\t' || c == u'\n') {
            if (inWord) {
                words.append(word);
                word.clear();
                inWord = false;
            }
            continue;
        }
        inWord = true;
        if (c == u'\'') {
            quote = Quote::Single;
        } else if (c == u'"') {
            quote = Quote::Double;
        } else if (c == u'\\') {
            if (hasNext) {
                if (text.at(i + 1) != u'\n') {
                    word.append(text.at(i + 1));
                }
                ++i;
            }
        } else {
            word.append(c);
        }
    }
    if (inWord) {
        words.append(word);
    }
    return words;
}

QString EmulatorCommand::Quoted(const QString& word) {
    static const QString kSpecial = QStringLiteral(" \t\n'\"\\");
    bool plain = !word.isEmpty();
    for (const QChar c : word) {
        plain = plain && !kSpecial.contains(c);
    }
    if (plain) {
        return word;
    }
    QString quoted = word;
    quoted.replace(QStringLiteral("'"), QStringLiteral("'\\''"));
    return u'\'' + quoted + u'\'';
}

QString EmulatorCommand::WithProgram(const QString& command, const QString& program) {
    QStringList words = Split(command);
    if (words.isEmpty()) {
        return Quoted(program);
    }
    QStringList written{Quoted(program)};
    for (qsizetype i = 1; i < words.size(); ++i) {
        written.append(Quoted(words.at(i)));
    }
    return written.join(u' ');
}

} // namespace korvane
