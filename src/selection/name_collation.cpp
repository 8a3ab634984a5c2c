#include "selection/name_collation.h"

#include <algorithm>

namespace vignetta {

namespace {

bool isAsciiDigit(char16_t c)
{
    return c >= u'0' && c <= u'9';
}

// Appends the key of an already folded text: each run of digits becomes "0", a character
// holding the count of its significant digits, then those digits, so that a longer number
// sorts after a shorter one and equal lengths compare digit by digit. The marker "0" keeps
// numbers where digits stand among the other characters.
void appendFoldedKey(QString& key, QStringView folded)
{
    const qsizetype n = folded.size();
    qsizetype i = 0;
    while (i < n) {
        const char16_t c = folded[i].unicode();
        if (!isAsciiDigit(c)) {
            key.append(QChar(c));
            ++i;
            continue;
        }
        qsizetype start = i;
        while (i < n && isAsciiDigit(folded[i].unicode()))
            ++i;
        while (start < i - 1 && folded[start].unicode() == u'0')
            ++start; // leading zeros do not change the value
        qsizetype significant = i - start;
        if (significant == 1 && folded[start].unicode() == u'0')
            significant = 0;
        key.append(QChar(u'0'));
        key.append(QChar(static_cast<char16_t>(u'0' + std::min<qsizetype>(significant, 0xF000))));
        if (significant > 0)
            key.append(folded.sliced(start, significant));
    }
}

} // namespace

QString collationKey(QStringView name)
{
    QString key;
    key.reserve(name.size() + 8);

    bool ascii = true;
    for (const QChar c : name) {
        if (c.unicode() >= 0x80) {
            ascii = false;
            break;
        }
    }
    if (ascii) {
        // Fast path for the common case: fold A-Z by hand.
        QString folded(name.size(), Qt::Uninitialized);
        QChar* out = folded.data();
        for (const QChar c : name) {
            const char16_t u = c.unicode();
            *out++ = QChar((u >= u'A' && u <= u'Z') ? static_cast<char16_t>(u + 32) : u);
        }
        appendFoldedKey(key, folded);
        return key;
    }

    // Decompose so that accents become marks of their own, drop the marks, then fold case.
    const QString decomposed = name.toString().normalized(QString::NormalizationForm_KD);
    QString bare;
    bare.reserve(decomposed.size());
    for (const QChar c : decomposed) {
        if (!c.isMark())
            bare.append(c);
    }
    appendFoldedKey(key, bare.toCaseFolded());
    return key;
}

CollatedNames collateSorted(const QStringList& names)
{
    CollatedNames result;
    result.reserve(static_cast<std::size_t>(names.size()));
    for (const QString& n : names)
        result.emplace_back(n);
    std::sort(result.begin(), result.end());
    return result;
}

bool collatesBefore(QStringView a, QStringView b)
{
    return CollatedName(a.toString()) < CollatedName(b.toString());
}

} // namespace vignetta
