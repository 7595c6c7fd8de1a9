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

// Reads one condition by the grammar of record_filter.h: the word cut into its
// subject, operator and value, then the value as the subject takes it. Every
// refusal names the whole word and marks where it stands.
class RecordFilter::ConditionReader {
public:
    ConditionReader(const RecordKind& kind, const QString& word, qsizetype position, const QStringList& shownTexts,
                    FilterError* error)
        : kind_(kind), word_(word), position_(position), shownTexts_(shownTexts), error_(error)
    {
    }

    std::optional<Condition> read();

private:
    std::optional<QString> cutWord();
    bool ordering() const;  // <, <=, > or >=
    bool contains() const { return c_.op == Operator::Contains; }
    // Nothing, with `message` as the error, marking the whole word.
    std::optional<Condition> refuse(const QString& message) const;
    std::optional<Condition> textsOnly(const QString& caption) const;
    std::optional<Condition> numberRead(const QString& caption, bool halves);
    std::optional<Condition> otherSubject();
    // One reader for each kind of field.
    std::optional<Condition> fieldCondition(std::size_t field);
    std::optional<Condition> numberField(const FieldSpec& described);
    std::optional<Condition> choiceField(const FieldSpec& described);
    std::optional<Condition> flagField(const FieldSpec& described);
    std::optional<Condition> listField(const FieldSpec& described);

    const RecordKind& kind_;
    const QString& word_;
    qsizetype position_;
    const QStringList& shownTexts_;
    FilterError* error_;
    QString subject_;
    QString value_;  // without the double quotes it was written in
    Condition c_;    // what is read so far
};

std::optional<RecordFilter::Condition> RecordFilter::readCondition(const RecordKind& kind, const QString& word,
                                                                   qsizetype position, const QStringList& shownTexts,
                                                                   FilterError* error)
{
    return ConditionReader(kind, word, position, shownTexts, error).read();
}

// condition := subject operator value
std::optional<RecordFilter::Condition> RecordFilter::ConditionReader::read()
{
    if (const auto problem = cutWord())
        return refuse(*problem);
    c_.text = value_;
    if (const auto field = FieldNamed(kind_, subject_))
        return fieldCondition(*field);
    return otherSubject();
}

// Cuts the word at its operator into subject, operator and value; the problem
// when a part is missing or the operator is none of ours.
std::optional<QString> RecordFilter::ConditionReader::cutWord()
{
    const qsizetype at = std::find_if(word_.begin(), word_.end(), isOperator) - word_.begin();
    if (at == word_.size())
        return QStringLiteral("「%1」缺少比較符號（%2）。").arg(word_, kOperators);
    subject_ = word_.left(at);
    if (subject_.isEmpty())
        return QStringLiteral("「%1」缺少欄位名稱。").arg(word_);
    qsizetype end = at;
    QString opText;
    while (end < word_.size() && isOperator(word_[end]))
        opText += word_[end++];
    static const QStringList kNames = {QStringLiteral("="),  QStringLiteral("!="), QStringLiteral("<"),
                                       QStringLiteral("<="), QStringLiteral(">"),  QStringLiteral(">="),
                                       QStringLiteral("~")};
    const qsizetype op = kNames.indexOf(opText);
    if (op < 0)
        return QStringLiteral("「%1」中的「%2」不是比較符號（可用 %3）。").arg(word_, opText, kOperators);
    c_.op = Operator(op);
    value_ = word_.mid(end);
    const bool quoted =
        value_.size() >= 2 && value_.startsWith(QLatin1Char('"')) && value_.endsWith(QLatin1Char('"'));
    if (quoted)
        value_ = value_.mid(1, value_.size() - 2);
    if (value_.isEmpty() && !quoted)
        return QStringLiteral("「%1」缺少要比較的值。").arg(word_);
    return std::nullopt;
}

bool RecordFilter::ConditionReader::ordering() const
{
    return c_.op != Operator::Equal && c_.op != Operator::NotEqual && c_.op != Operator::Contains;
}

std::optional<RecordFilter::Condition> RecordFilter::ConditionReader::refuse(const QString& message) const
{
    if (error_)
        *error_ = {message, position_, word_.size()};
    return std::nullopt;
}

std::optional<RecordFilter::Condition> RecordFilter::ConditionReader::textsOnly(const QString& caption) const
{
    return refuse(QStringLiteral("「%1」是文字，只能用 = != ~。").arg(caption));
}

// The value as a count of the subject's units (halves where it counts them).
std::optional<RecordFilter::Condition> RecordFilter::ConditionReader::numberRead(const QString& caption, bool halves)
{
    const UnitsReading read = ReadUnits(value_, halves);
    if (read.units) {
        c_.number = *read.units;
        return c_;
    }
    if (read.tooLarge)
        return refuse(QStringLiteral("「%1」").arg(caption) + TooLargeDetail(value_, halves));
    return refuse(halves ? QStringLiteral("「%1」的值「%2」必須是整數或半數（如3.5）。").arg(caption, value_)
                         : QStringLiteral("「%1」的值「%2」不是數字。").arg(caption, value_));
}

// A subject that is no field: a text the records show, their number or their name.
std::optional<RecordFilter::Condition> RecordFilter::ConditionReader::otherSubject()
{
    if (kind_.namedTextKeys().contains(subject_)) {
        if (!shownTexts_.contains(subject_))
            return refuse(QStringLiteral("「%1」的文字不在手邊（需要遊戲資料夾）。").arg(subject_));
        if (ordering())
            return textsOnly(subject_);
        c_.subject = Subject::Text;
        c_.textKey = subject_;
        c_.byText = true;
        return c_;
    }
    if (subject_ == QLatin1String("number") || subject_ == QStringLiteral("編號")) {
        if (contains())
            return refuse(QStringLiteral("「%1」是數字，不能用 ~（包含）。").arg(subject_));
        c_.subject = Subject::Number;
        return numberRead(subject_, false);
    }
    if (subject_ == QLatin1String("name") || subject_ == QStringLiteral("名稱")) {
        if (ordering())
            return textsOnly(subject_);
        c_.subject = Subject::Name;
        c_.byText = true;
        return c_;
    }
    return refuse(QStringLiteral("沒有「%1」這個欄位。").arg(subject_));
}

// A field's value, read as the field's kind stores it.
std::optional<RecordFilter::Condition> RecordFilter::ConditionReader::fieldCondition(std::size_t field)
{
    const FieldSpec& described = *kind_.fields()[field];
    c_.subject = Subject::Field;
    c_.field = field;
    switch (described.kind) {
    case FieldKind::Number:
        return numberField(described);
    case FieldKind::Choice:
        return choiceField(described);
    case FieldKind::Flag:
        return flagField(described);
    case FieldKind::Name:
        if (ordering())
            return textsOnly(described.label);
        c_.byText = true;
        return c_;
    case FieldKind::Skills:
    case FieldKind::Tactics:
        return listField(described);
    }
    return refuse(QStringLiteral("沒有「%1」這個欄位。").arg(subject_));
}

std::optional<RecordFilter::Condition> RecordFilter::ConditionReader::numberField(const FieldSpec& described)
{
    const QString& caption = described.label;
    // A number that names another record compares as that record's name when
    // the value is no number.
    const QString named = NamedTextKey(kind_, described);
    const bool isUnits = ReadUnits(value_, described.halves).isNumber();
    if (!named.isEmpty() && (contains() || (!isUnits && !ordering()))) {
        if (!shownTexts_.contains(named))
            return refuse(QStringLiteral("「%1」的名稱不在手邊（需要遊戲資料夾），請用編號。").arg(caption));
        c_.textKey = named;
        c_.byText = true;
        return c_;
    }
    if (contains())
        return refuse(QStringLiteral("「%1」是數字，不能用 ~（包含）。").arg(caption));
    if (!named.isEmpty() && !isUnits)
        return refuse(QStringLiteral("「%1」要比大小，值必須是數字，不是「%2」。").arg(caption, value_));
    return numberRead(caption, described.halves);
}

std::optional<RecordFilter::Condition> RecordFilter::ConditionReader::choiceField(const FieldSpec& described)
{
    if (contains()) {
        c_.byText = true;
        return c_;
    }
    // A list text, or the stored code itself (one outside the list included).
    const qsizetype item = described.items.indexOf(value_);
    if (item >= 0) {
        c_.number = item;
        return c_;
    }
    if (ReadUnits(value_, false).isNumber())
        return numberRead(described.label, false);
    return refuse(QStringLiteral("「%1」沒有「%2」這一項。").arg(described.label, value_));
}

std::optional<RecordFilter::Condition> RecordFilter::ConditionReader::flagField(const FieldSpec& described)
{
    if (contains())
        return refuse(QStringLiteral("「%1」是勾選欄位，不能用 ~（包含）。").arg(described.label));
    FieldProblem problem;
    const auto flag = ParseFieldValue(described, value_, &problem);
    if (!flag)
        return refuse(problem.message.section(QLatin1Char('\n'), -1));
    c_.number = flag->number;
    return c_;
}

// Skills (= the set held, ~ holds every one named) or tactics (= the levels).
std::optional<RecordFilter::Condition> RecordFilter::ConditionReader::listField(const FieldSpec& described)
{
    const bool skills = described.kind == FieldKind::Skills;
    if (ordering() || (contains() && !skills))
        return refuse(skills ? QStringLiteral("「%1」只能用 = != ~。").arg(described.label)
                             : QStringLiteral("「%1」只能用 = !=。").arg(described.label));
    FieldProblem problem;
    const auto list = ParseFieldValue(described, value_, &problem);
    if (!list)
        return refuse(problem.message.section(QLatin1Char('\n'), -1));
    c_.list = list->list;
    return c_;
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
