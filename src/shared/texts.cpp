#include "shared/texts.h"

#include <QStringList>

#include <algorithm>
#include <iterator>

namespace varkel {

namespace {

struct TextEntry {
    int id;
    const char8_t* text;
};

constexpr TextEntry kTexts[] = {
#include "../../resources/texts.inc"
};

const TextEntry* find(int id)
{
    const auto* it = std::lower_bound(std::begin(kTexts), std::end(kTexts), id,
                                      [](const TextEntry& e, int key) { return e.id < key; });
    return it != std::end(kTexts) && it->id == id ? it : nullptr;
}

}  // namespace

bool HasResText(int id)
{
    return find(id) != nullptr;
}

QString GetResText(int id)
{
    const TextEntry* entry = find(id);
    Q_ASSERT_X(entry, "GetResText", "no text with this id");
    return entry ? QString::fromUtf8(reinterpret_cast<const char*>(entry->text)) : QString();
}

QStringList SkillBoxCaptions()
{
    QStringList captions = GetResTexts(Text::Skills);
    captions[12] = QStringLiteral("辯才");
    return captions;
}

QStringList GetResTexts(int first, int last)
{
    QStringList list;
    for (int id = first; id <= last; ++id)
        list << GetResText(id);
    return list;
}

QStringList GetResTexts(TextList list)
{
    return GetResTexts(list.first, list.last);
}

}  // namespace varkel
