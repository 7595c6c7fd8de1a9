#include "neweditor/new_officer_kind.h"

#include "neweditor/new_officer_fields.h"
#include "saveeditor/biography.h"
#include "saveeditor/save_layout.h"
#include "shared/name_field.h"
#include "shared/picture_banks.h"

#include <algorithm>

namespace varkel {

using system_save::biographyRecord;
using system_save::record;

namespace {

constexpr int kFirstOddTactic = 14;
constexpr int kFirstOddAspiration = 5;
const QString kInBiographies = QStringLiteral(" (in RDText.vk)");

bool wholly(const QByteArray& bytes, qsizetype start, qsizetype size)
{
    return start + size <= bytes.size();
}

}  // namespace

NewOfficerKind::NewOfficerKind(QByteArray* biographies) : biographies_(biographies)
{
    for (const auto& field : NewOfficerFields()) {
        fields_.push_back(&field);
        specs_.push_back(&field);
    }
    biography_.key = QStringLiteral("biography");
    biography_.label = QStringLiteral("武將列傳");
    biography_.kind = FieldKind::Name;
    biography_.capacity = biography::kCapacity;
    biography_.lineBreaks = true;
    specs_.push_back(&biography_);
}

QString NewOfficerKind::recordName(int n) const
{
    return ReadFullName(*file_, record(n));
}

std::vector<FieldValue> NewOfficerKind::read(int n) const
{
    const MemberRecord r = DecodeMemberRecord(*file_, record(n));
    std::vector<FieldValue> values;
    values.reserve(specs_.size());
    for (const auto* field : fields_)
        values.push_back(field->get(r));
    FieldValue biography;
    if (biographies_ && wholly(*biographies_, biographyRecord(n), biography::kRecordSize))
        biography.text = DecodeBiography(*biographies_, biographyRecord(n));
    else
        biography.absent = true;
    values.push_back(biography);
    return values;
}

std::optional<FieldProblem> NewOfficerKind::write(int n, const std::map<std::size_t, FieldValue>& changes)
{
    MemberRecord r = DecodeMemberRecord(*file_, record(n));
    bool recordChanged = false;
    bool renamed = false;
    const FieldValue* biography = nullptr;
    for (const auto& [i, value] : changes) {
        if (isBiography(i)) {
            biography = &value;
            continue;
        }
        const QString& key = fields_[i]->key;
        fields_[i]->set(r, value);
        recordChanged = true;
        renamed = renamed || key == QLatin1String("surname") || key == QLatin1String("given_name");
    }
    // As in the view, the full name follows the surname and given name.
    if (renamed)
        r.person.fullName = r.person.surname + r.person.givenName;
    // The biography is the one part the codec may still refuse, so it goes first
    // and a refusal leaves the record as it was.
    if (biography) {
        if (!biographies_)
            return FieldProblem{{}, QStringLiteral("biography: no RDText.vk beside the system save to keep it in")};
        if (const auto problem = EncodeBiography(*biographies_, biographyRecord(n), biography->text))
            return FieldProblem{QStringLiteral("Text4"),
                                QStringLiteral("biography: ") +
                                    FieldProblemMessage(biography_.label, BiographyProblemText(*problem))
                                        .section(QLatin1Char('\n'), -1)};
    }
    if (recordChanged)
        EncodeMemberRecord(*file_, record(n), r);
    return std::nullopt;
}

std::vector<QByteArray*> NewOfficerKind::alsoWritten() const
{
    if (biographies_)
        return {biographies_};
    return {};
}

std::vector<RecordKind::Extent> NewOfficerKind::extents(int n) const
{
    return {{record(n), member::kRecordSize}};
}

std::vector<RecordKind::Finding> NewOfficerKind::check() const
{
    std::vector<Finding> found;
    const int strategicCount = int(NewOfficerField(QStringLiteral("strategic_tendency")).items.size());
    for (int n = 0; n < count(); ++n) {
        const MemberRecord r = DecodeMemberRecord(*file_, record(n));
        auto add = [&](const char* field, qsizetype offset, qint64 value, const QString& what) {
            found.push_back({n, QString::fromLatin1(field), offset, value, what});
        };
        for (int t = 0; t < kTacticCount; ++t) {
            const int nibble = r.tactics[std::size_t(t)];
            if (nibble >= kFirstOddTactic)
                add("tactics", record(n) + member::kStatusPart + save::status::kTactics + t / 2, nibble,
                    QStringLiteral("tactic %1 has nibble %2, which is no level").arg(t).arg(nibble));
        }
        if (r.strategicTendency >= strategicCount)
            add("strategic_tendency", record(n) + member::kTendencies, r.strategicTendency,
                QStringLiteral("strategic tendency %1, outside its list").arg(r.strategicTendency));
        if (r.aspiration >= kFirstOddAspiration)
            add("aspiration", record(n) + member::kOutlook, r.aspiration, QStringLiteral("aspiration 5..7"));
        if (r.person.face >= kFaceCount)
            add("face", record(n) + save::person::kFace, r.person.face, QStringLiteral("face beyond the bank"));

        // A biography is kept as it is read; these could not be stored again once changed.
        if (!biographies_ || !wholly(*biographies_, biographyRecord(n), biography::kRecordSize))
            continue;
        QString characters = DecodeBiography(*biographies_, biographyRecord(n));
        characters.remove(QLatin1Char(biography::kLineBreak));
        if (characters.size() > biography::kCapacity)
            add("biography", biographyRecord(n), characters.size(),
                QStringLiteral("more than %1 characters, which a changed biography cannot hold")
                        .arg(biography::kCapacity) + kInBiographies);
        else if (!std::all_of(characters.begin(), characters.end(), IsDoubleByteChar))
            add("biography", biographyRecord(n), characters.size(),
                QStringLiteral("a character that is no double-byte one, which a changed biography cannot hold") +
                    kInBiographies);
    }
    if (biographies_ && biographies_->size() < biographyRecord(count())) {
        const int first = int((std::max<qsizetype>(biographies_->size(), system_save::kHeaderSize) -
                               system_save::kHeaderSize) / biography::kRecordSize);
        found.push_back({-1, QStringLiteral("biography"), biographyRecord(first), biographies_->size(),
                         QStringLiteral("RDText.vk ends inside the biography of %1: those from it on are not shown")
                             .arg(numberOf(first))});
    }
    return found;
}

}  // namespace varkel
