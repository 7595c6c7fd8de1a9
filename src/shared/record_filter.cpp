#include "shared/record_filter.h"

#include <algorithm>

namespace varkel {

namespace {

const QString kOperators = QStringLiteral("= != < <= > >= ~");

bool isOperator(QChar c)
{
    return QStringLiteral("=!<>~").contains(c);
}

struct Word {
    QString text;
    qsizetype position = 0;
};

// A full-width operator, digit, point or minus as a Chinese input method types
// it, in its ASCII form; any other character as it is.
QChar halfWidth(QChar c)
{
    static const QString kFullWidth = QStringLiteral("＝！＜＞～．－０１２３４５６７８９");
    static const QString kAscii = QStringLiteral("=!<>~.-0123456789");
    const qsizetype at = kFullWidth.indexOf(c);
    return at < 0 ? c : kAscii[at];
}

// Splits at spaces (full-width ones too) outside double quotes; spaces beside an
// operator do not split ("武力 >= 90" is one condition). Outside quotes the
// full-width forms read as their ASCII ones.
bool splitWords(const QString& text, std::vector<Word>& words, FilterError* error)
{
    Word word;
    bool quoted = false;
    qsizetype quoteAt = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = quoted ? text[i] : halfWidth(text[i]);
        if (c == QLatin1Char('"')) {
            quoted = !quoted;
            quoteAt = i;
        } else if (!quoted && c.isSpace()) {
            qsizetype next = i + 1;
            while (next < text.size() && text[next].isSpace())
                ++next;
            const bool afterOperator = !word.text.isEmpty() && isOperator(word.text.back());
            const bool beforeOperator = next < text.size() && isOperator(halfWidth(text[next]));
            if (!word.text.isEmpty() && (afterOperator || beforeOperator)) {
                i = next - 1;
                continue;
            }
            if (!word.text.isEmpty())
                words.push_back(word);
            word = Word{{}, next};
            i = next - 1;
            continue;
        }
        word.text += c;
    }
    if (quoted) {
        if (error)
            *error = {QStringLiteral("「%1」的引號沒有結束。").arg(word.text), quoteAt, text.size() - quoteAt};
        return false;
    }
    if (!word.text.isEmpty())
        words.push_back(word);
    return true;
}

template <typename T>
bool compare(int op, const T& a, const T& b)
{
    switch (op) {
    case 0:
        return a == b;
    case 1:
        return a != b;
    case 2:
        return a < b;
    case 3:
        return a <= b;
    case 4:
        return a > b;
    case 5:
        return a >= b;
    default:
        break;
    }
    return false;
}

}  // namespace

std::optional<std::size_t> FieldNamed(const RecordKind& kind, const QString& word)
{
    const auto& fields = kind.fields();
    for (std::size_t i = 0; i < fields.size(); ++i)
        if (fields[i]->label == word || fields[i]->key == word)
            return i;
    return std::nullopt;
}

std::optional<RecordFilter> RecordFilter::parse(const RecordKind& kind, const QString& text, FilterError* error)
{
    std::vector<Word> words;
    if (!splitWords(text, words, error))
        return std::nullopt;
    // The texts the records show here: a text whose source is not at hand is left out.
    QStringList shown;
    if (kind.count() > 0)
        for (const auto& [key, value] : kind.namedTexts(0))
            shown << key;
    RecordFilter filter;
    for (const Word& word : words) {
        auto condition = readCondition(kind, word.text, word.position, shown, error);
        if (!condition)
            return std::nullopt;
        filter.needsValues_ = filter.needsValues_ || condition->subject == Subject::Field;
        filter.conditions_.push_back(std::move(*condition));
    }
    return filter;
}

std::optional<RecordFilter::Condition> RecordFilter::readCondition(const RecordKind& kind, const QString& word,
                                                                   qsizetype position, const QStringList& shownTexts,
                                                                   FilterError* error)
{
    auto refuse = [&](const QString& message) -> std::optional<Condition> {
        if (error)
            *error = {message, position, word.size()};
        return std::nullopt;
    };
    const qsizetype at = std::find_if(word.begin(), word.end(), isOperator) -
                         word.begin();
    if (at == word.size())
        return refuse(QStringLiteral("「%1」缺少比較符號（%2）。").arg(word, kOperators));
    const QString subject = word.left(at);
    if (subject.isEmpty())
        return refuse(QStringLiteral("「%1」缺少欄位名稱。").arg(word));
    qsizetype end = at;
    QString opText;
    while (end < word.size() && isOperator(word[end]))
        opText += word[end++];
    static const QStringList kNames = {QStringLiteral("="),  QStringLiteral("!="), QStringLiteral("<"),
                                       QStringLiteral("<="), QStringLiteral(">"),  QStringLiteral(">="),
                                       QStringLiteral("~")};
    const qsizetype op = kNames.indexOf(opText);
    if (op < 0)
        return refuse(QStringLiteral("「%1」中的「%2」不是比較符號（可用 %3）。").arg(word, opText, kOperators));
    QString value = word.mid(end);
    const bool quoted = value.size() >= 2 && value.startsWith(QLatin1Char('"')) && value.endsWith(QLatin1Char('"'));
    if (quoted)
        value = value.mid(1, value.size() - 2);
    if (value.isEmpty() && !quoted)
        return refuse(QStringLiteral("「%1」缺少要比較的值。").arg(word));

    Condition c;
    c.op = Operator(op);
    c.text = value;
    const bool ordering = c.op != Operator::Equal && c.op != Operator::NotEqual && c.op != Operator::Contains;
    const bool contains = c.op == Operator::Contains;
    auto textsOnly = [&](const QString& caption) {
        return refuse(QStringLiteral("「%1」是文字，只能用 = != ~。").arg(caption));
    };
    auto readNumber = [&](const QString& caption, bool halves) -> bool {
        const UnitsReading read = ReadUnits(value, halves);
        if (read.units)
            c.number = *read.units;
        else if (read.tooLarge)
            refuse(QStringLiteral("「%1」").arg(caption) + TooLargeDetail(value, halves));
        else
            refuse(halves ? QStringLiteral("「%1」的值「%2」必須是整數或半數（如3.5）。").arg(caption, value)
                          : QStringLiteral("「%1」的值「%2」不是數字。").arg(caption, value));
        return read.units.has_value();
    };

    const auto field = FieldNamed(kind, subject);
    const bool isNumber = subject == QLatin1String("number") || subject == QStringLiteral("編號");
    const bool isName = subject == QLatin1String("name") || subject == QStringLiteral("名稱");
    if (!field && kind.namedTextKeys().contains(subject)) {
        if (!shownTexts.contains(subject))
            return refuse(QStringLiteral("「%1」的文字不在手邊（需要遊戲資料夾）。").arg(subject));
        if (ordering)
            return textsOnly(subject);
        c.subject = Subject::Text;
        c.textKey = subject;
        c.byText = true;
        return c;
    }
    if (!field && isNumber) {
        if (contains)
            return refuse(QStringLiteral("「%1」是數字，不能用 ~（包含）。").arg(subject));
        c.subject = Subject::Number;
        return readNumber(subject, false) ? std::optional(c) : std::nullopt;
    }
    if (!field && isName) {
        if (ordering)
            return textsOnly(subject);
        c.subject = Subject::Name;
        c.byText = true;
        return c;
    }
    if (!field)
        return refuse(QStringLiteral("沒有「%1」這個欄位。").arg(subject));

    const FieldSpec& described = *kind.fields()[*field];
    c.subject = Subject::Field;
    c.field = *field;
    const QString& caption = described.label;
    FieldProblem problem;
    switch (described.kind) {
    case FieldKind::Number: {
        // A number that names another record compares as that record's name when
        // the value is no number.
        const QString named = NamedTextKey(kind, described);
        const bool isUnits = ReadUnits(value, described.halves).isNumber();
        if (!named.isEmpty() && (contains || (!isUnits && !ordering))) {
            if (!shownTexts.contains(named))
                return refuse(QStringLiteral("「%1」的名稱不在手邊（需要遊戲資料夾），請用編號。").arg(caption));
            c.textKey = named;
            c.byText = true;
            return c;
        }
        if (contains)
            return refuse(QStringLiteral("「%1」是數字，不能用 ~（包含）。").arg(caption));
        if (!named.isEmpty() && !isUnits)
            return refuse(QStringLiteral("「%1」要比大小，值必須是數字，不是「%2」。").arg(caption, value));
        return readNumber(caption, described.halves) ? std::optional(c) : std::nullopt;
    }
    case FieldKind::Choice: {
        if (contains) {
            c.byText = true;
            return c;
        }
        // A list text, or the stored code itself (one outside the list included).
        const qsizetype item = described.items.indexOf(value);
        if (item >= 0) {
            c.number = item;
            return c;
        }
        if (ReadUnits(value, false).isNumber())
            return readNumber(caption, false) ? std::optional(c) : std::nullopt;
        return refuse(QStringLiteral("「%1」沒有「%2」這一項。").arg(caption, value));
    }
    case FieldKind::Flag: {
        if (contains)
            return refuse(QStringLiteral("「%1」是勾選欄位，不能用 ~（包含）。").arg(caption));
        const auto flag = ParseFieldValue(described, value, &problem);
        if (!flag)
            return refuse(problem.message.section(QLatin1Char('\n'), -1));
        c.number = flag->number;
        return c;
    }
    case FieldKind::Name:
        if (ordering)
            return textsOnly(caption);
        c.byText = true;
        return c;
    case FieldKind::Skills:
    case FieldKind::Tactics: {
        const bool skills = described.kind == FieldKind::Skills;
        if (ordering || (contains && !skills))
            return refuse(skills ? QStringLiteral("「%1」只能用 = != ~。").arg(caption)
                                 : QStringLiteral("「%1」只能用 = !=。").arg(caption));
        const auto list = ParseFieldValue(described, value, &problem);
        if (!list)
            return refuse(problem.message.section(QLatin1Char('\n'), -1));
        c.list = list->list;
        return c;
    }
    }
    return refuse(QStringLiteral("沒有「%1」這個欄位。").arg(subject));
}

bool RecordFilter::holds(const Condition& c, const RecordKind& kind, int n, const std::vector<FieldValue>& values,
                         Texts& texts)
{
    auto textOf = [&](const QString& key) -> std::optional<QString> {
        if (!texts)
            texts = kind.namedTexts(n);
        for (const auto& [k, text] : *texts)
            if (k == key)
                return text;
        return std::nullopt;
    };
    auto compareText = [&](const QString& text) {
        if (c.op == Operator::Contains)
            return text.contains(c.text, Qt::CaseInsensitive);
        return compare(int(c.op), text, c.text);
    };
    switch (c.subject) {
    case Subject::Number:
        return compare(int(c.op), qlonglong(kind.numberOf(n)), c.number);
    case Subject::Name:
        return compareText(kind.recordName(n));
    case Subject::Text: {
        const auto text = textOf(c.textKey);
        return text && compareText(*text);
    }
    case Subject::Field:
        break;
    }
    if (c.field >= values.size() || values[c.field].absent)
        return false;
    const FieldValue& v = values[c.field];
    const FieldSpec& described = *kind.fields()[c.field];
    if (!c.textKey.isEmpty()) {
        const auto text = textOf(c.textKey);
        return text && compareText(*text);
    }
    switch (described.kind) {
    case FieldKind::Name:
        return compareText(v.text);
    case FieldKind::Choice:
        return c.byText ? compareText(ChoiceText(described, v.number))
                        : compare(int(c.op), qlonglong(v.number), c.number);
    case FieldKind::Skills:
        if (c.op == Operator::Contains)
            return std::all_of(c.list.begin(), c.list.end(),
                               [&](int s) { return std::find(v.list.begin(), v.list.end(), s) != v.list.end(); });
        [[fallthrough]];
    case FieldKind::Tactics:
        return (v.list == c.list) == (c.op == Operator::Equal);
    case FieldKind::Number:
    case FieldKind::Flag:
        break;
    }
    return compare(int(c.op), qlonglong(v.number), c.number);
}

bool RecordFilter::matches(const RecordKind& kind, int n, const std::vector<FieldValue>& values) const
{
    Texts texts;
    return std::all_of(conditions_.begin(), conditions_.end(),
                       [&](const Condition& c) { return holds(c, kind, n, values, texts); });
}

bool RecordFilter::matches(const RecordKind& kind, int n) const
{
    return matches(kind, n, needsValues_ ? kind.read(n) : std::vector<FieldValue>{});
}

std::vector<int> RecordFilter::select(const RecordKind& kind) const
{
    std::vector<int> picked;
    for (int n = 0; n < kind.count(); ++n)
        if (matches(kind, n))
            picked.push_back(n);
    return picked;
}

}  // namespace varkel
