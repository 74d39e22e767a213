#include "core/modLanguage.h"

#include "core/TextNumbers.h"

#include <iterator>

namespace modLanguage {

namespace {

// Far above any text number the program uses; keeps a stray huge number from
// growing the table without bound.
constexpr int kMaxTextNumber = 32767;
// Interface texts are words and short sentences; a longer one is cut, so that
// no language file can make a list or a label too costly to lay out.
constexpr qsizetype kMaxTextLength = 1024;

const QString& EmptyText()
{
    static const QString empty;
    return empty;
}

// English texts of the numbers added after the first language files were
// made, in number order from Text::FirstAddedText.
constexpr const char16_t* kAddedTexts[] = {
    u"Not yet opened by",
    u"Find anything",
    u"Elite skill",
    u"Collector",
    u"Reward",
    u"Green item",
    u"Chest",
    u"Pet",
    u"Nothing found",
    u"Progress of every character",
    u"Total",
    u"Chests opened",
    u"%1 of %2 characters still need this",
    u"Undo last update",
};
static_assert(Text::FirstAddedText + std::size(kAddedTexts) - 1 == Text::AllUsed.back(),
              "every added text has an English default");

} // namespace

const QString& LanguageStrings::operator()(int n) const
{
    if (n < 0 || n >= static_cast<int>(m_texts.size()))
        return EmptyText();
    return m_texts[n];
}

bool LanguageStrings::defined(int n) const
{
    return n >= 0 && n < static_cast<int>(m_defined.size()) && m_defined[n];
}

void LanguageStrings::set(int n, const QString& text)
{
    if (n < 0)
        return;
    if (n >= static_cast<int>(m_texts.size())) {
        m_texts.resize(n + 1);
        m_defined.resize(n + 1, false);
    }
    m_texts[n] = text;
    m_defined[n] = true;
}

void LanguageStrings::addMissingDefaults()
{
    int n = Text::FirstAddedText;
    for (const char16_t* text : kAddedTexts) {
        if (!defined(n)) {
            set(n, QString::fromUtf16(text));
            m_defined[static_cast<std::size_t>(n)] = false; // the file still lacks it
        }
        ++n;
    }
}

void LanguageStrings::clear()
{
    m_texts.assign(1, QString());
    m_defined.assign(1, false);
}

QString LanguageStrings::allEntries() const
{
    return QStringLiteral("<<< ") + (*this)(Text::AllEntry) + QStringLiteral(" >>>");
}

bool LoadLanguage(const LoadContext& ctx, LanguageStrings& strings)
{
    strings.clear();
    const QString relative = QString::fromUtf16(kLanguageFile);
    const bool loaded = ctx.forEachLine(relative, [&](QStringView line, int lineNo) {
        const auto fields = records::SplitFields(line);
        if (fields.size() < 2) {
            ctx.warn(relative, lineNo, QStringLiteral("text line without a tab"));
            return;
        }
        const auto n = records::NumberField<int>(fields[0]);
        if (!n || *n < 0 || *n > kMaxTextNumber) {
            ctx.warn(relative, lineNo, QStringLiteral("text number out of range 0..%1").arg(kMaxTextNumber));
            return;
        }
        QString text = fields[1].left(kMaxTextLength).toString();
        if (fields[1].size() > kMaxTextLength)
            ctx.warn(relative, lineNo, QStringLiteral("text longer than %1 characters cut").arg(kMaxTextLength));
        text.replace(QStringLiteral("\\n"), QStringLiteral("\r\n"));
        strings.set(*n, text);
    });
    if (loaded)
        strings.addMissingDefaults();
    return loaded;
}

} // namespace modLanguage
