#include "cli/UnifiedDiff.h"

#include "framework/FileName.h"

#include <algorithm>
#include <vector>

namespace {

constexpr int kContext = 3;
// How far apart the two sides may drift before a line is taken as replaced.
constexpr qsizetype kFarthestMatch = 2000;

std::vector<QStringView> Lines(QStringView text)
{
    std::vector<QStringView> lines;
    for (qsizetype pos = 0; pos < text.size();) {
        const qsizetype lineFeed = text.indexOf(u'\n', pos);
        const qsizetype next = lineFeed < 0 ? text.size() : lineFeed + 1;
        lines.push_back(text.mid(pos, next - pos));
        pos = next;
    }
    return lines;
}

// One line of the diff: kept (' '), removed ('-') or added ('+'), with its
// index on its side.
struct Op
{
    char kind;
    qsizetype index;
};

// The scripts change a few lines in place: after a difference, the nearest
// pair of equal lines takes the two sides up again.
std::vector<Op> Compare(const std::vector<QStringView> &a, const std::vector<QStringView> &b)
{
    std::vector<Op> ops;
    const qsizetype n = qsizetype(a.size()), m = qsizetype(b.size());
    qsizetype i = 0, j = 0;
    while (i < n || j < m) {
        if (i < n && j < m && a[size_t(i)] == b[size_t(j)]) {
            ops.push_back({' ', i++});
            ++j;
            continue;
        }
        qsizetype skipA = std::min<qsizetype>(1, n - i), skipB = std::min<qsizetype>(1, m - j);
        bool found = false;
        for (qsizetype d = 1; !found && d <= kFarthestMatch && (i + d <= n || j + d <= m); ++d)
            for (qsizetype x = 0; x <= d && !found; ++x)
                if (i + x < n && j + d - x < m && a[size_t(i + x)] == b[size_t(j + d - x)]) {
                    skipA = x;
                    skipB = d - x;
                    found = true;
                }
        if (!found && i + kFarthestMatch >= n && j + kFarthestMatch >= m) {
            skipA = n - i; // nothing the sides share again
            skipB = m - j;
        }
        for (qsizetype k = 0; k < skipA; ++k)
            ops.push_back({'-', i++});
        for (qsizetype k = 0; k < skipB; ++k)
            ops.push_back({'+', j++});
    }
    return ops;
}

void AppendLine(QString &out, char kind, QStringView line)
{
    out += QLatin1Char(kind);
    out += line;
    if (!line.endsWith(u'\n'))
        out += QStringLiteral("\n\\ No newline at end of file\n");
}

} // namespace

QString DiffFileName(const QString &name)
{
    const QByteArray bytes = FileNameBytes(name).value_or(name.toUtf8());
    const bool plain =
        std::all_of(bytes.begin(), bytes.end(), [](char c) { return c >= 0x20 && c < 0x7F && c != '"' && c != '\\'; });
    if (plain)
        return QString::fromLatin1(bytes);
    QString quoted = QStringLiteral("\"");
    for (const char c : bytes) {
        const auto byte = uchar(c);
        if (c == '"' || c == '\\')
            (quoted += QLatin1Char('\\')) += QLatin1Char(c);
        else if (c == '\n')
            quoted += QLatin1String("\\n");
        else if (c == '\t')
            quoted += QLatin1String("\\t");
        else if (byte < 0x20 || byte >= 0x7F)
            quoted += QStringLiteral("\\%1").arg(byte, 3, 8, QLatin1Char('0'));
        else
            quoted += QLatin1Char(c);
    }
    return quoted + QLatin1Char('"');
}

QString UnifiedDiff(QStringView before, QStringView after, const QString &name)
{
    const std::vector<QStringView> a = Lines(before), b = Lines(after);
    const std::vector<Op> ops = Compare(a, b);
    QString out;
    // Where each op stands on both sides.
    std::vector<std::pair<qsizetype, qsizetype>> at(ops.size() + 1);
    for (size_t k = 0; k < ops.size(); ++k)
        at[k + 1] = {at[k].first + (ops[k].kind != '+'), at[k].second + (ops[k].kind != '-')};
    for (size_t k = 0; k < ops.size();) {
        if (ops[k].kind == ' ') {
            ++k;
            continue;
        }
        // A hunk: from the context before this change to the context after
        // the last change less than twice the context away.
        size_t begin = k >= size_t(kContext) ? k - kContext : 0;
        while (begin < k && ops[begin].kind != ' ')
            ++begin;
        size_t end = k;
        for (size_t quiet = 0; end < ops.size() && quiet <= size_t(2 * kContext); ++end)
            quiet = ops[end].kind == ' ' ? quiet + 1 : 0;
        while (end > k && ops[end - 1].kind == ' ')
            --end;
        const size_t last = std::min(ops.size(), end + kContext);
        const qsizetype oldCount = at[last].first - at[begin].first, newCount = at[last].second - at[begin].second;
        if (out.isEmpty())
            out = QStringLiteral("--- %1\n+++ %1\n").arg(name);
        out += QStringLiteral("@@ -%1,%2 +%3,%4 @@\n")
                   .arg(at[begin].first + (oldCount > 0))
                   .arg(oldCount)
                   .arg(at[begin].second + (newCount > 0))
                   .arg(newCount);
        for (size_t h = begin; h < last; ++h)
            AppendLine(out, ops[h].kind, ops[h].kind == '+' ? b[size_t(ops[h].index)] : a[size_t(ops[h].index)]);
        k = last;
    }
    return out;
}
