#include "NameMatcher.h"

#include <QVarLengthArray>
#include <algorithm>

using namespace Qt::StringLiterals;

namespace {
char16_t folded(QChar c)
{
    return c.toUpper().unicode();
}
} // namespace

NameMatcher::NameMatcher(const QString &mask)
{
    // The rewriting Windows applies to a mask before matching.
    const QString pattern = mask == u"*.*"_s ? u"*"_s : mask;
    for (qsizetype i = 0; i < pattern.size(); ++i) {
        const QChar c = pattern[i];
        const QChar next = i + 1 < pattern.size() ? pattern[i + 1] : QChar();
        if (c == u'?')
            m_tokens.append({Kind::DosQm, 0});
        else if (c == u'*')
            m_tokens.append({next == u'.' ? Kind::DosStar : Kind::Star, 0});
        else if (c == u'.' && (next.isNull() || next == u'?' || next == u'*'))
            m_tokens.append({Kind::DosDot, 0});
        else
            m_tokens.append({Kind::Literal, folded(c)});
    }
}

qsizetype NameMatcher::afterDosQms(qsizetype token) const
{
    while (token < m_tokens.size() && m_tokens[token].kind == Kind::DosQm)
        ++token;
    return token;
}

// Adds the states reachable without consuming a character at position `at`. Such moves
// only go forward, so one pass in order suffices.
void NameMatcher::closeOver(char *states, const QString &name, qsizetype at) const
{
    const bool atEnd = at == name.size();
    const bool atDot = !atEnd && name[at] == u'.';
    for (qsizetype t = 0; t < m_tokens.size(); ++t) {
        if (!states[t])
            continue;
        switch (m_tokens[t].kind) {
        case Kind::Star:
        case Kind::DosStar:
            states[t + 1] = 1;
            break;
        case Kind::DosQm:
            if (atEnd || atDot)
                states[afterDosQms(t)] = 1;
            break;
        case Kind::DosDot:
            if (atEnd)
                states[t + 1] = 1;
            break;
        case Kind::Literal:
            break;
        }
    }
}

bool NameMatcher::matches(const QString &name) const
{
    const qsizetype count = m_tokens.size();
    const qsizetype lastDot = name.lastIndexOf(u'.');
    // The set of tokens reached so far, and the next one.
    QVarLengthArray<char, 256> buffer(2 * (count + 1), 0);
    char *states = buffer.data();
    char *next = states + count + 1;
    states[0] = 1;
    closeOver(states, name, 0);
    for (qsizetype at = 0; at < name.size(); ++at) {
        const char16_t c = folded(name[at]);
        std::fill(next, next + count + 1, 0);
        bool any = false;
        for (qsizetype t = 0; t < count; ++t) {
            if (!states[t])
                continue;
            const Token &token = m_tokens[t];
            qsizetype to = -1;
            if (token.kind == Kind::Star || (token.kind == Kind::DosStar && at != lastDot))
                to = t;
            else if ((token.kind == Kind::DosQm && c != u'.') || (token.kind == Kind::DosDot && c == u'.') ||
                     (token.kind == Kind::Literal && token.ch == c))
                to = t + 1;
            if (to >= 0) {
                next[to] = 1;
                any = true;
            }
        }
        if (!any)
            return false;
        closeOver(next, name, at + 1);
        std::swap(states, next);
    }
    return states[count] != 0;
}
