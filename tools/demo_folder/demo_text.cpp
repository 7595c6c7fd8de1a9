#include "demo_folder/demo_text.h"

#include "demo_folder/demo_layout.h"
#include "person/biography.h"
#include "shared/big5.h"
#include "shared/name_field.h"

#include <QStringList>

namespace varkel::demo {

namespace {

// One character of `table`, chosen by the stream.
QString pick(DemoRandom& random, const QString& table)
{
    return table.mid(random.below(static_cast<int>(table.size())), 1);
}

QString pickWord(DemoRandom& random, const QStringList& words)
{
    return words[random.below(static_cast<int>(words.size()))];
}

const QString kSurnames = QStringLiteral(
    "張王李趙劉陳楊黃周吳徐孫馬朱胡郭何高林羅鄭梁謝宋唐許韓馮鄧曹彭曾蕭田董袁潘蔣蔡余杜葉程蘇魏呂丁任沈姚"
    "盧姜崔鍾譚陸汪范金石廖賈夏韋方白鄒孟熊秦邱江尹薛閻段雷侯龍史陶黎賀顧毛郝龔邵萬錢嚴武戴莫孔向湯");
const QStringList kDoubleSurnames = {QStringLiteral("諸葛"), QStringLiteral("司馬"), QStringLiteral("夏侯"),
                                     QStringLiteral("歐陽"), QStringLiteral("公孫"), QStringLiteral("上官"),
                                     QStringLiteral("東方"), QStringLiteral("皇甫"), QStringLiteral("尉遲"),
                                     QStringLiteral("長孫"), QStringLiteral("令狐"), QStringLiteral("慕容")};
const QString kGivenChars = QStringLiteral(
    "文武德明仁義忠信安平華國成英傑雄龍虎元玄伯仲叔季孝進興遠達儀豐昭超雲飛嘉璋翼宣堅策權瑜肅蒙遜逵奉統亮"
    "懿靖謙衡恭寬廣通輔毅勇剛烈威勝光宗瑞昌茂泰和康寧順誠敬正直清秀林山河海晨星松竹鶴");
const QString kFemaleChars = QStringLiteral("英華秀蘭梅玉珍鳳琴瑤婉貞淑麗靜娥姬芳蓉雪月");
const QString kCourtesyLeads = QStringLiteral("子伯仲叔季公元文德孝");
const QStringList kTitles = {
    QStringLiteral("大將軍"),   QStringLiteral("丞相"),     QStringLiteral("太尉"),     QStringLiteral("司徒"),
    QStringLiteral("司空"),     QStringLiteral("都督"),     QStringLiteral("軍師"),     QStringLiteral("車騎將軍"),
    QStringLiteral("驃騎將軍"), QStringLiteral("鎮東將軍"), QStringLiteral("征西將軍"), QStringLiteral("安南將軍"),
    QStringLiteral("平北將軍"), QStringLiteral("虎威將軍"), QStringLiteral("大司馬"),   QStringLiteral("尚書令"),
    QStringLiteral("刺史"),     QStringLiteral("校尉"),     QStringLiteral("中郎將"),   QStringLiteral("驃騎大將軍"),
    QStringLiteral("神機妙算"), QStringLiteral("萬人敵")};

}  // namespace

PersonName MakePersonName(DemoRandom& random, bool female, bool titled)
{
    PersonName name;
    name.surname = random.percent(8) ? pickWord(random, kDoubleSurnames) : pick(random, kSurnames);
    const QString& givenTable = female ? kFemaleChars : kGivenChars;
    name.given = pick(random, givenTable);
    if (random.percent(70))
        name.given += pick(random, givenTable);
    name.courtesy = (random.percent(60) ? pick(random, kCourtesyLeads) : pick(random, kGivenChars)) +
                    pick(random, kGivenChars);
    if (titled)
        name.title = pickWord(random, kTitles);
    return name;
}

void WritePersonName(QByteArray& buffer, qsizetype record, const PersonName& name)
{
    WriteNameField(buffer, record + person::kSurname, name.surname);
    WriteNameField(buffer, record + person::kGivenName, name.given);
    WriteNameField(buffer, record + person::kCourtesyName, name.courtesy);
    WriteNameField(buffer, record + person::kTitle, name.title);
    WriteNameField(buffer, record + person::kFullName, name.full());
}

QString MakeCityName(int c)
{
    static const QStringList names = [] {
        const QString first = QStringLiteral("東西南北平安長永廣武天河江洛雲臨定寧");
        const QString second = QStringLiteral("陽城州陵原安平都川門山關水谷");
        const int pairs = static_cast<int>(first.size() * second.size());
        QStringList list;
        // 11 is prime to the number of pairs, so the walk visits each pair once.
        for (int k = 0; list.size() < kCityNameCount && k < pairs; ++k) {
            const int p = k * 11 % pairs;
            const QChar a = first[p / second.size()];
            const QChar b = second[p % second.size()];
            if (a != b)
                list << QString(a) + b;
        }
        return list;
    }();
    return names.value(c);
}

QString MakeCourtRankName(int i)
{
    static const QStringList names = {
        QStringLiteral("皇帝"),     QStringLiteral("王"),       QStringLiteral("公"),       QStringLiteral("大將軍"),
        QStringLiteral("驃騎將軍"), QStringLiteral("車騎將軍"), QStringLiteral("衛將軍"),   QStringLiteral("前將軍"),
        QStringLiteral("後將軍"),   QStringLiteral("左將軍"),   QStringLiteral("右將軍"),   QStringLiteral("鎮東將軍"),
        QStringLiteral("鎮西將軍"), QStringLiteral("鎮南將軍"), QStringLiteral("鎮北將軍"), QStringLiteral("征東將軍"),
        QStringLiteral("征西將軍"), QStringLiteral("征南將軍"), QStringLiteral("征北將軍"), QStringLiteral("安東將軍"),
        QStringLiteral("安西將軍"), QStringLiteral("安南將軍"), QStringLiteral("安北將軍"), QStringLiteral("平東將軍"),
        QStringLiteral("平西將軍"), QStringLiteral("平南將軍"), QStringLiteral("平北將軍"), QStringLiteral("州牧"),
        QStringLiteral("刺史"),     QStringLiteral("太守"),     QStringLiteral("縣令"),     QStringLiteral("無位")};
    return names.value(i);
}

QString MakeStateName(int s, int length)
{
    static const QString heads = QStringLiteral("魏吳蜀燕趙齊楚秦韓晉梁陳夏商周宋衛鄭");
    static const QString prefixes = QStringLiteral("大後新東西南北");
    static const QString ends = QStringLiteral("國朝");
    const QString head = heads.mid(s % heads.size(), 1);
    if (length < 2)
        return head;
    QString name;
    for (int k = 0; k < length - 2; ++k)
        name += prefixes[(s + k) % prefixes.size()];
    return name + head + ends[s % ends.size()];
}

QString MakeTreasureName(int t, int kind)
{
    static const QStringList heads[12] = {
        {QStringLiteral("赤"), QStringLiteral("白"), QStringLiteral("烏"), QStringLiteral("青"), QStringLiteral("黃"),
         QStringLiteral("紫"), QStringLiteral("飛"), QStringLiteral("追風")},
        {QStringLiteral("青龍"), QStringLiteral("倚天"), QStringLiteral("七星"), QStringLiteral("方天"),
         QStringLiteral("丈八"), QStringLiteral("古錠"), QStringLiteral("雌雄"), QStringLiteral("龍膽")},
        {QStringLiteral("天下"), QStringLiteral("九州"), QStringLiteral("山河"), QStringLiteral("西域"),
         QStringLiteral("南蠻"), QStringLiteral("北方")},
        {QStringLiteral("青囊"), QStringLiteral("本草"), QStringLiteral("傷寒"), QStringLiteral("黃帝")},
        {QStringLiteral("遁甲"), QStringLiteral("太平"), QStringLiteral("六韜"), QStringLiteral("玄妙")},
        {QStringLiteral("孫子"), QStringLiteral("吳子"), QStringLiteral("尉繚"), QStringLiteral("三略"),
         QStringLiteral("司馬")},
        {QStringLiteral("詩經"), QStringLiteral("尚書"), QStringLiteral("春秋"), QStringLiteral("易經"),
         QStringLiteral("禮記"), QStringLiteral("論語")},
        {QStringLiteral("史記"), QStringLiteral("漢書"), QStringLiteral("國語"), QStringLiteral("戰國")},
        {QStringLiteral("治國"), QStringLiteral("富國"), QStringLiteral("鹽鐵"), QStringLiteral("安民")},
        {QStringLiteral("傳國"), QStringLiteral("皇帝"), QStringLiteral("天子")},
        {QStringLiteral("夜明"), QStringLiteral("和氏"), QStringLiteral("隨侯"), QStringLiteral("七寶")},
        {QStringLiteral("金縷"), QStringLiteral("翡翠"), QStringLiteral("白玉"), QStringLiteral("珊瑚"),
         QStringLiteral("琥珀")}};
    static const QStringList tails[12] = {
        {QStringLiteral("兔馬"), QStringLiteral("龍駒"), QStringLiteral("影駒"), QStringLiteral("雷駒")},
        {QStringLiteral("劍"), QStringLiteral("刀"), QStringLiteral("戟"), QStringLiteral("矛"), QStringLiteral("弓")},
        {QStringLiteral("圖"), QStringLiteral("地圖"), QStringLiteral("輿圖")},
        {QStringLiteral("書"), QStringLiteral("經"), QStringLiteral("方")},
        {QStringLiteral("天書"), QStringLiteral("要術"), QStringLiteral("秘卷")},
        {QStringLiteral("兵法"), QStringLiteral("兵書"), QStringLiteral("陣圖")},
        {QStringLiteral("注"), QStringLiteral("集解"), QStringLiteral("正義")},
        {QStringLiteral("策"), QStringLiteral("紀"), QStringLiteral("列傳")},
        {QStringLiteral("論"), QStringLiteral("策"), QStringLiteral("新書")},
        {QStringLiteral("玉璽"), QStringLiteral("金印"), QStringLiteral("寶印")},
        {QStringLiteral("珠"), QStringLiteral("璧"), QStringLiteral("鏡"), QStringLiteral("杯")},
        {QStringLiteral("帶"), QStringLiteral("冠"), QStringLiteral("環"), QStringLiteral("佩")}};
    const QStringList& h = heads[kind % 12];
    const QStringList& tl = tails[kind % 12];
    // The walk through head and tail pairs repeats only after all pairs of a kind.
    const int n = t / 12;
    return h[n % h.size()] + tl[(n / h.size() + n) % tl.size()];
}

namespace {

QString joinClauses(DemoRandom& random, const QStringList& clauses, int maxChars)
{
    QString text;
    const int wanted = random.between(2, 4);
    for (int k = 0; k < wanted; ++k) {
        const QString clause = pickWord(random, clauses);
        if (text.size() + clause.size() + 1 > maxChars)
            break;
        if (!text.isEmpty())
            text += QStringLiteral("，");
        text += clause;
    }
    return text + QStringLiteral("。");
}

}  // namespace

QString MakePersonStory(DemoRandom& random, int maxChars)
{
    static const QStringList clauses = {
        QStringLiteral("自幼聰穎好學"),     QStringLiteral("年少時便以勇武聞名"), QStringLiteral("為人忠厚寬仁"),
        QStringLiteral("精通兵法韜略"),     QStringLiteral("善於治理政務"),       QStringLiteral("常懷濟世安民之志"),
        QStringLiteral("與鄉里豪傑交游"),   QStringLiteral("性情剛烈不畏強權"),   QStringLiteral("隱居山林多年"),
        QStringLiteral("後投明主建功立業"), QStringLiteral("深得百姓愛戴"),       QStringLiteral("喜讀史書通曉古今")};
    return joinClauses(random, clauses, maxChars - 1);
}

QString MakeTreasureNote(DemoRandom& random, int kind, int maxChars)
{
    static const QStringList clauses = {QStringLiteral("相傳為古代名匠所造"), QStringLiteral("其光華照耀四方"),
                                        QStringLiteral("得之者可安天下"),     QStringLiteral("世間罕有之寶"),
                                        QStringLiteral("歷代君王所珍藏"),     QStringLiteral("持之可以鼓舞士氣"),
                                        QStringLiteral("色澤溫潤如凝脂"),     QStringLiteral("乃名士遺留之作")};
    static const QStringList byKind = {
        QStringLiteral("行走如飛日行千里"), QStringLiteral("質地堅硬削鐵如泥"), QStringLiteral("詳載各地山川險要"),
        QStringLiteral("記載醫治百病之方"), QStringLiteral("內藏呼風喚雨之術"), QStringLiteral("書中記載用兵之道"),
        QStringLiteral("闡述聖賢立身之道"), QStringLiteral("記述前代興亡之事"), QStringLiteral("記述治國安民之策"),
        QStringLiteral("乃天命所歸之信物"), QStringLiteral("夜間亦能光照一室"), QStringLiteral("佩之儀表更顯不凡")};
    return byKind[kind % 12] + QStringLiteral("，") + joinClauses(random, clauses, maxChars - 10);
}

void PutBiography(QByteArray& buffer, qsizetype start, const QString& text)
{
    if (text.size() <= biography::kCapacity) {
        EncodeBiography(buffer, start, text);
        return;
    }
    const Big5& big5 = Big5::instance();
    for (qsizetype n = 0; n < biography::kRecordSize / 2; ++n) {
        const std::uint16_t code = big5.encode(text[n % text.size()].unicode());
        buffer[start + 2 * n] = static_cast<char>(code >> 8);
        buffer[start + 2 * n + 1] = static_cast<char>(code & 0xFF);
    }
}

QString MakeStoryOfLength(DemoRandom& random, int chars)
{
    QString text;
    while (text.size() < chars)
        text += MakePersonStory(random, 74);
    text.truncate(chars);
    return text;
}

}  // namespace varkel::demo
