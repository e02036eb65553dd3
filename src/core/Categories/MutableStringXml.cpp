#include "core/Categories/MutableStringXml.h"

#include <utility>

namespace vantrel::MutableStringXml {

namespace {

using Step = std::pair<const char*, const char*>;

template <std::size_t N> QString& replaceInOrder(QString& text, const Step (&steps)[N])
{
    for (const auto& [from, to] : steps)
        text.replace(QLatin1String(from), QLatin1String(to));
    return text;
}

} // namespace

QString& xmlSimpleEscape(QString& text)
{
    static constexpr Step kSteps[] = {
        { "&", "&amp;" },
        { "\"", "&quot;" },
        { "'", "&#x27;" },
        { ">", "&gt;" },
        { "<", "&lt;" },
    };
    return replaceInOrder(text, kSteps);
}

QString& xmlSimpleEscapeNEW(QString& text)
{
    static constexpr Step kSteps[] = {
        { "&", "&amp;amp;" },
        { "\"", "&quot;" },
        { "'", "&#x27;" },
        { ">", "&gt;" },
        { "<", "(lessthan)" },
    };
    return replaceInOrder(text, kSteps);
}

QString& xmlSimpleUnescape(QString& text)
{
    // The CR/LF pair step can no longer match once both halves are replaced; it is kept so the
    // order stays the documented one (a CR/LF pair becomes two line feeds).
    static constexpr Step kSteps[] = {
        { "&amp;", "&" },
        { "&quot;", "\"" },
        { "&#x27;", "'" },
        { "&#x39;", "'" },
        { "&#x92;", "'" },
        { "&#x96;", "'" },
        { "&#x000D;", "\n" },
        { "&#x000A;", "\n" },
        { "&#x000D;&#x000A;", "\n" },
        { "&gt;", ">" },
        { "&lt;", "<" },
    };
    return replaceInOrder(text, kSteps);
}

} // namespace vantrel::MutableStringXml
