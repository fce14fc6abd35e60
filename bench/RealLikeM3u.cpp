#include "BenchCommands.h"

#include <array>
#include <cstdio>
#include <span>

namespace {

// Words of channel names and groups, several scripts, some with combining marks.
constexpr std::array<const char *, 48> kWords = {
    "Canal",
    "Noticias",
    "Sport",
    "Info",
    "Kids",
    "Cinema",
    "Música",
    "Télé",
    "Türkiye",
    "Thời sự",
    "Первый",
    "Канал",
    "Россия",
    "Новости",
    "Спорт",
    "Україна",
    "Кино",
    "Мир",
    "الجزيرة",
    "قناة",
    "أخبار",
    "رياضة",
    "الأولى",
    "Ελληνική",
    "Τηλεόραση",
    "ערוץ",
    "חדשות",
    "समाचार",
    "हिन्दी",
    "भारत",
    "தமிழ்",
    "বাংলা",
    "ข่าว",
    "ช่อง",
    "中央电视台",
    "新闻",
    "体育",
    "日本テレビ",
    "뉴스",
    "방송",
    "Deutsche Welle",
    "Rai",
    "France",
    "TVE",
    "Polsat",
    "Nova",
    "⚽ Live",
    "Ζωντανά",
};
constexpr std::array<const char *, 8> kSuffixes
    = { "", "", "", " HD", " (1080p)", " (720p)", " [Not 24/7]", " (576i) [Geo-blocked]" };
constexpr std::array<const char *, 12> kCategories = { "News", "Sports", "Movies", "Music", "Kids", "General",
    "Religious", "Documentary", "Entertainment;Lifestyle", "Culture", "Local", "Business" };

QByteArray word(Sequence &random)
{
    return kWords[random.next(kWords.size())];
}

QByteArray groupName(quint32 group)
{
    Sequence random(group + 1000);
    return kCategories[group % kCategories.size()] + QByteArray(random.next(2) ? ";" : " ") + word(random)
        + ' ' + QByteArray::number(group);
}

QByteArray channelName(Sequence &random)
{
    QByteArray name = word(random);
    for (quint32 more = random.next(2); more > 0; --more)
        name += ' ' + word(random);
    return name + kSuffixes[random.next(kSuffixes.size())];
}

QByteArray catchupAttributes(Sequence &random, const QByteArray &id)
{
    switch (random.next(4)) {
    case 0:
        return " catchup=\"default\" catchup-days=\"7\" catchup-source=\"http://127.0.0.1:8080/archive/" + id
            + "/{utc}-{duration}.m3u8\"";
    case 1:
        return " catchup=\"append\" catchup-source=\"?utc={utc}&lutc={lutc}\"";
    case 2:
        return " catchup=\"shift\" catchup-days=\"" + QByteArray::number(1 + random.next(14)) + '"';
    default:
        return " catchup-type=\"flussonic\" timeshift=\"3\"";
    }
}

QByteArray address(Sequence &random, const QByteArray &id, quint32 kind)
{
    const QByteArray host = "http://127.0.0.1:" + QByteArray::number(8000 + random.next(9));
    if (kind == 0)
        return host + "/movie/user/pass/" + id + ".mkv";
    if (kind == 1)
        return host + "/series/user/pass/" + id + ".mp4";
    if (random.next(2))
        return host + "/live/" + id + ".m3u8";
    return host + "/hls/" + id + "/index.m3u8?t=" + QByteArray::number(random.next(1u << 20), 16);
}

// One entry: an info line with a long attribute list, sometimes option lines, the address.
void appendEntry(QByteArray &out, int i, quint32 group, Sequence &random, const QByteArray &lineEnd)
{
    const QByteArray id = QByteArray::number(i);
    const quint32 kind = random.next(10); // 0: movie, 1: series episode, else live
    QByteArray name = channelName(random);
    if (kind == 1)
        name += " S0" + QByteArray::number(1 + random.next(5)) + 'E'
            + QByteArray::number(10 + random.next(20));
    out += "#EXTINF:-1 tvg-id=\"";
    if (random.next(2))
        out += "C" + id + ".xx";
    out += '"';
    if (random.next(3) == 0)
        out += " tvg-name=\"" + name + '"';
    if (random.next(4) == 0)
        out += " tvg-language=\"" + word(random) + '"';
    if (random.next(5))
        out += " tvg-logo=\"https://127.0.0.1/" + QByteArray::number(random.next(1u << 30), 36) + ".png\"";
    if (random.next(20))
        out += " group-title=\"" + groupName(group) + '"';
    if (kind > 1 && random.next(12) == 0)
        out += catchupAttributes(random, id);
    out += ',' + name + lineEnd;
    if (random.next(10) == 0)
        out += "#EXTVLCOPT:http-user-agent=Mozilla/5.0 (X11; Linux x86_64)" + lineEnd;
    if (random.next(20) == 0)
        out += lineEnd; // a stray blank line
    out += address(random, id, kind) + lineEnd;
}

int generateRealLikeM3u(const QStringList &args)
{
    const int count = args.isEmpty() ? 0 : args.at(0).toInt();
    if (count <= 0)
        return 2;
    const QByteArray out = realLikeM3u(count);
    std::fwrite(out.constData(), 1, size_t(out.size()), stdout);
    return 0;
}

constexpr BenchCommand kCommands[] = {
    { "gen-m3u-real", "N", generateRealLikeM3u },
};

} // namespace

// Small groups in runs, names in many scripts, catch-up on some channels, blank lines,
// CR LF in some stretches.
QByteArray realLikeM3u(int count)
{
    Sequence random(11);
    const quint32 groups = quint32(qBound(1000, count / 8, 3000));
    QByteArray out = "#EXTM3U x-tvg-url=\"http://127.0.0.1:8080/guide.xml\"\n";
    out.reserve(qsizetype(count) * 260);
    quint32 group = 0;
    quint32 runLeft = 0;
    QByteArray lineEnd = "\n";
    for (int i = 0; i < count; ++i) {
        if (i % 1000 == 0)
            lineEnd = random.next(3) == 0 ? "\r\n" : "\n";
        if (runLeft == 0) {
            group = random.next(4) ? (group + 1) % groups : random.next(groups);
            runLeft = 1 + random.next(16);
        }
        --runLeft;
        appendEntry(out, i, group, random, lineEnd);
    }
    return out;
}

std::span<const BenchCommand> realLikeM3uBenchCommands()
{
    return kCommands;
}
