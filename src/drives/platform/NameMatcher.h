#pragma once

#include <QList>
#include <QString>

// Matches file names against a mask (`*.mp3`, `????.txt`, `*.`) the way Windows does:
// case ignored, `*` and `*.*` match every name, `*.` the names without an extension,
// `?` also matches nothing at the end of a name or before a dot, a dot before `?` or `*`
// (or at the end) also matches the end of the name; `[` is an ordinary character.
class NameMatcher {
public:
    explicit NameMatcher(const QString &mask);
    bool matches(const QString &name) const;

private:
    enum class Kind : quint8 {
        Literal,
        Star,    // any run of characters
        DosStar, // any run of characters short of the name's last dot
        DosQm,   // one character other than a dot, or nothing before a dot or the end
        DosDot,  // a dot, or the end of the name
    };
    struct Token {
        Kind kind;
        char16_t ch;
    };
    void closeOver(char *states, const QString &name, qsizetype at) const;
    qsizetype afterDosQms(qsizetype token) const;

    QList<Token> m_tokens;
};
