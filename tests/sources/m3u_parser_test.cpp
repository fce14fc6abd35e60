#include "LongText.h"
#include "model/TextBounds.h"
#include "sources/M3uParser.h"

#include <QFile>
#include <QRandomGenerator>
#include <QRegularExpression>

#include <gtest/gtest.h>

using M3uParser::Entry;

void PrintTo(const Entry &entry, std::ostream *os)
{
    *os << "{" << entry.name.toStdString() << " | " << entry.logo.value_or(u"-"_qs).toStdString() << " | "
        << entry.group.value_or(u"-"_qs).toStdString() << " | " << entry.tvgId.value_or(u"-"_qs).toStdString()
        << " | " << entry.url.toStdString() << " | "
        << (entry.catchup ? entry.catchup->mode.toStdString() + "/" + std::to_string(entry.catchup->days)
                          : "-")
        << "}";
}

namespace {

QList<Entry> parseAll(QByteArrayView bytes)
{
    QList<Entry> entries;
    M3uParser::parse(bytes, [&](Entry &&entry) { entries.append(std::move(entry)); });
    return entries;
}

QByteArray fixture(const char *name)
{
    QFile file(QStringLiteral(ZELFOR_TEST_DATA "/m3u/") + QLatin1StringView(name));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << name;
    return file.readAll();
}

OptText opt(const char *text)
{
    return text ? OptText(QString::fromUtf8(text)) : std::nullopt;
}

Entry entry(const char *name, const char *url, const char *logo = nullptr, const char *group = nullptr,
    const char *tvgId = nullptr)
{
    return Entry { .name = QString::fromUtf8(name),
        .logo = opt(logo),
        .group = opt(group),
        .tvgId = opt(tvgId),
        .url = QString::fromUtf8(url) };
}

Entry withCatchup(Entry entry, qint64 days, const char *mode, OptText source = std::nullopt)
{
    entry.catchup = Catchup { days, QString::fromLatin1(mode), source };
    return entry;
}

TEST(M3uParser, ReadsAProviderPlaylist)
{
    const QList<Entry> expected = {
        withCatchup(entry("France Info HD", "http://127.0.0.1:8080/live/u/p/101.ts",
                        "http://127.0.0.1:8080/logo/news1.png", "FR | News", "news1.fr"),
            1, "shift"),
        withCatchup(entry("Sport 1", "http://127.0.0.1:8080/live/u/p/102.ts",
                        "http://127.0.0.1:8080/logo/s1.png", "Sports", "sport1"),
            5, "default", "http://127.0.0.1:8080/ts/{utc}/102.ts"),
        entry("Radio Jazz", "http://127.0.0.1:8080/radio/jazz.mp3", nullptr, "Radio"),
        entry("No Group Channel", "rtmp://127.0.0.1/live/stream7"),
        entry("The Film (2020)", "http://127.0.0.1:8080/MOVIE/u/p/5001.mkv", "http://127.0.0.1:8080/p/1.jpg",
            "VOD | Drama"),
        entry("Dark City S01E02", "http://127.0.0.1:8080/series/u/p/9002.mp4",
            "http://127.0.0.1:8080/c/9.jpg", "Series | Crime"),
        entry("Dark City S01E01", "http://127.0.0.1:8080/series/u/p/9001.mp4",
            "http://127.0.0.1:8080/c/9b.jpg", "Series | Crime"),
        entry("Dark City Special", "http://127.0.0.1:8080/series/u/p/9003.mp4", nullptr, "Series | Crime"),
        entry("123.ts", "http://127.0.0.1:8080/live/u/p/123.ts?token=x"),
    };
    // a byte-order mark and other line ends do not matter
    for (const char *name : { "provider.m3u", "provider_bom_crlf.m3u", "provider_cr.m3u" })
        EXPECT_EQ(parseAll(fixture(name)), expected) << name;
}

struct QuirkCase {
    const char *label;
    QByteArray text;
    QList<Entry> expected;
};

const QuirkCase kQuirks[] = {
    { "quoted_comma", "#EXTINF:-1 tvg-name=\"Doe, John\" group-title=\"News\",The Title\nhttp://h/1",
        { entry("The Title", "http://h/1", nullptr, "News") } },
    { "blank_title_takes_tvg_name", "#EXTINF:-1 tvg-name=\"  Tvg Name \",  \t \nhttp://h/1",
        { entry("Tvg Name", "http://h/1") } },
    { "name_from_address", "#EXTINF:-1,   \nhttp://h/live/123.ts?token=x",
        { entry("123.ts", "http://h/live/123.ts?token=x") } },
    { "name_from_address_trailing_slash", "http://h/a/b//", { entry("b", "http://h/a/b//") } },
    { "address_without_name", "http://h/?a=b", { entry("", "http://h/?a=b") } },
    { "case_insensitive", "#extinf:-1 TVG-LOGO=\"L\" Group-Title=\"\" TVG-ID=\"id\",T\nhttp://h/1",
        { entry("T", "http://h/1", "L", nullptr, "id") } },
    { "extgrp_only_without_group_title",
        "#EXTGRP:Sports\n#EXTINF:-1,A\nhttp://h/a\n#EXTINF:-1,B\nhttp://h/b\n"
        "#EXTGRP:Sports\n#EXTINF:-1 group-title=\"News\",C\nhttp://h/c",
        { entry("A", "http://h/a", nullptr, "Sports"), entry("B", "http://h/b"),
            entry("C", "http://h/c", nullptr, "News") } },
    { "extgrp_survives_info_line_and_empty_rest_clears",
        "#EXTGRP: Kids \n#extgrp:\t\n#EXTINF:-1,A\nhttp://h/a\n"
        "#EXTGRP:Kids\n#EXTINF:-1,B\n#EXTINF:-1,C\nhttp://h/c",
        { entry("A", "http://h/a"), entry("C", "http://h/c", nullptr, "Kids") } },
    { "catchup_modes",
        "#EXTINF:-1 catchup=\"Flussonic\",A\nhttp://h/a\n#EXTINF:-1 catchup=\"append\",B\nhttp://h/b\n"
        "#EXTINF:-1 catchup=\"shift\" catchup-days=\"0\",C\nhttp://h/c\n"
        "#EXTINF:-1 catchup-type=\"xc\" catchup-days=\"abc\",D\nhttp://h/d\n"
        "#EXTINF:-1 catchup=\"default\" timeshift=\"7\" catchup-source=\"s\",E\nhttp://h/e\n"
        "#EXTINF:-1 catchup-days=\"3\",F\nhttp://h/f",
        { withCatchup(entry("A", "http://h/a"), 1, "shift"), entry("B", "http://h/b"),
            withCatchup(entry("C", "http://h/c"), 1, "shift"), withCatchup(entry("D", "http://h/d"), 1, "xc"),
            withCatchup(entry("E", "http://h/e"), 7, "default", u"s"_qs), entry("F", "http://h/f") } },
    { "later_attribute_wins",
        "#EXTINF:-1 tvg-logo=\"a\" tvg-logo=\"b\" tvg-id=\"x\" tvg-id=\"\",T\nhttp://h/1",
        { entry("T", "http://h/1", "b") } },
    { "attribute_typos",
        "#EXTINF:-1 tvg-logo = \"spaced\" group-title='single' tvg-id=bare,T\nhttp://h/1\n"
        "#EXTINF:-1 tvg-logo=\"open,T\nhttp://h/2",
        { entry("T", "http://h/1", "spaced"), entry("T", "http://h/2") } },
    { "stray_quote_ends_at_last_comma",
        "#EXTINF:-1 tvg-id=\"a.b\" tvg-name=\"12\" TV\" group-title=\"News\" tvg-logo=\"http://h/l.png\",Real Title\nhttp://h/1",
        { entry("Real Title", "http://h/1", "http://h/l.png", "News", "a.b") } },
    { "value_spans_next_key", "#EXTINF:-1 tvg-name=\"x group-title=\"Y\",\nhttp://h/1",
        { entry("x group-title=", "http://h/1") } },
    { "no_header_and_odd_addresses",
        "  rtmp://h/app/stream  \nchannel.ts\nudp://@239.0.0.1:1234\n#EXTINF:-1,Last",
        { entry("stream", "rtmp://h/app/stream"), entry("channel.ts", "channel.ts"),
            entry("@239.0.0.1:1234", "udp://@239.0.0.1:1234") } },
    { "options_and_comments_keep_pending",
        "#EXTINF:-1,A\n#EXTVLCOPT:http-referrer=x\n# note\n\n   \nhttp://h/a", { entry("A", "http://h/a") } },
    { "info_line_without_colon", "#EXTINF-1 tvg-logo=\"x\",Title\nhttp://h/1",
        { entry("Title", "http://h/1") } },
    { "info_line_colon_last", "#EXTINF:\nhttp://h/n", { entry("n", "http://h/n") } },
    { "first_colon_in_title", "#EXTINF,Title: Part 2\nhttp://h/p", { entry("p", "http://h/p") } },
    { "byte_order_mark_on_any_line", "#EXTM3U\n\xEF\xBB\xBF#EXTINF:-1,A\n\xEF\xBB\xBFhttp://h/a",
        { entry("A", "http://h/a") } },
    { "unicode_white_space",
        "\xC2\xA0#EXTINF:-1 tvg-id\xE2\x80\x83=\xC2\xA0\"id\",\xE3\x80\x80"
        "A\xE3\x80\x80\nhttp://h/a\xC2\x85",
        { entry("\xE3\x80\x80"
                "A",
            "http://h/a", nullptr, nullptr, "id") } },
    { "quote_with_mark_is_no_quote", "#EXTINF:-1 tvg-name=\"a\"\xCC\x81,T\nhttp://h/1",
        { entry("T", "http://h/1") } },
    { "comma_with_mark_is_no_comma", "#EXTINF:-1 tvg-name=\"n\",\xCC\x81T\nhttp://h/1",
        { entry("n", "http://h/1") } },
    { "upper_casing_beyond_ascii", "#ext\xC4\xB1nf:-1,Dotless\nhttp://h/1",
        { entry("Dotless", "http://h/1") } },
    { "hash_with_mark_is_an_address", "#\xCC\x81x", { entry("#\xCC\x81x", "#\xCC\x81x") } },
    { "invalid_utf8_replaced",
        "#EXTINF:-1,A\xFF"
        "B\nhttp://h/1",
        { entry("A\xEF\xBF\xBD"
                "B",
            "http://h/1") } },
};

TEST(M3uParser, KeepsAByteOrderMarkInsideAField)
{
    const QList<Entry> entries = parseAll("#EXTINF:-1,\xEF\xBB\xBFT\nhttp://h/1");
    ASSERT_EQ(entries.size(), 1);
    EXPECT_EQ(entries.front().name, QString(QChar(0xFEFF)) + u'T');
}

TEST(M3uParser, QuirksGiveTheExpectedEntries)
{
    for (const QuirkCase &row : kQuirks)
        EXPECT_EQ(parseAll(row.text), row.expected) << row.label;
}

struct ReferenceSplit {
    QString attributes;
    QString title;
};

// Attribute part and title as the quote-aware comma scan finds them (ASCII lines only).
ReferenceSplit referenceSplit(const QString &line)
{
    const qsizetype colon = line.indexOf(u':');
    bool quoted = false;
    for (qsizetype i = colon + 1; i < line.size(); ++i) {
        if (line[i] == u'"')
            quoted = !quoted;
        else if (line[i] == u',' && !quoted)
            return { line.mid(colon + 1, i - colon - 1), line.mid(i + 1).trimmed() };
    }
    const qsizetype last = line.lastIndexOf(u',');
    if (last > colon)
        return { line.mid(colon + 1, last - colon - 1), line.mid(last + 1).trimmed() };
    return { line.mid(colon + 1), QString() };
}

// What the attribute pattern yields through a regular expression engine.
Entry referenceEntry(const QString &line)
{
    static const QRegularExpression pattern(uR"re(([A-Za-z0-9_-]+)\s*=\s*"([^"]*)")re"_qs);
    const ReferenceSplit split = referenceSplit(line);
    QHash<QString, OptText> values;
    for (const QRegularExpressionMatch &match : pattern.globalMatch(split.attributes)) {
        const QString value = match.captured(2).trimmed();
        values.insert(match.captured(1).toLower(), value.isEmpty() ? OptText() : OptText(value));
    }
    Entry entry { .name = split.title.isEmpty() ? values.value(u"tvg-name"_qs).value_or(QString())
                                                : split.title,
        .logo = values.value(u"tvg-logo"_qs),
        .group = values.value(u"group-title"_qs),
        .tvgId = values.value(u"tvg-id"_qs),
        .url = u"http://h/x"_qs };
    if (entry.name.isEmpty())
        entry.name = u"x"_qs;
    return entry;
}

TEST(M3uParser, AttributeScanAgreesWithTheRegularExpression)
{
    static const char *const kTokens[] = { "tvg-logo", "group-title", "TVG-ID", "tvg-name", "x", "=", " ",
        "\t", "\"", "\"a b\"", ",", "-1", "\"\"", " = ", "\"v,w\"", "_k", ":" };
    QRandomGenerator random(7);
    for (int round = 0; round < 20000; ++round) {
        QByteArray line = "#EXTINF:";
        const int count = random.bounded(14);
        for (int i = 0; i < count; ++i)
            line += kTokens[random.bounded(int(std::size(kTokens)))];
        const QList<Entry> entries = parseAll(line + "\nhttp://h/x");
        ASSERT_EQ(entries.size(), 1);
        ASSERT_EQ(entries.front(), referenceEntry(QString::fromLatin1(line))) << line.constData();
    }
}

// Names and groups keep their first few KB, cut between characters.
TEST(M3uParser, LongNamesAndGroupsAreCutAtACharacter)
{
    const LongText euros = longText(TextBounds::kName, "ab", u"€"_qs);
    const LongText faces = longText(TextBounds::kName, "abc", u"😀"_qs);
    const struct {
        const char *label;
        QByteArray text;
        Entry expected;
    } rows[] = {
        { "title", "#EXTINF:-1," + euros.utf8 + "\nhttp://h/1",
            Entry { .name = euros.kept, .url = "http://h/1" } },
        { "tvg-name", "#EXTINF:-1 tvg-name=\"" + faces.utf8 + "\",\nhttp://h/1",
            Entry { .name = faces.kept, .url = "http://h/1" } },
        { "group-title", "#EXTINF:-1 group-title=\"" + euros.utf8 + "\",A\nhttp://h/1",
            Entry { .name = "A", .group = euros.kept, .url = "http://h/1" } },
        { "#EXTGRP", "#EXTGRP:" + faces.utf8 + "\nhttp://h/1",
            Entry { .name = "1", .group = faces.kept, .url = "http://h/1" } },
        { "address", "http://h/" + euros.utf8 + "?t=1",
            Entry { .name = euros.kept, .url = QString::fromUtf8("http://h/" + euros.utf8 + "?t=1") } },
    };
    for (const auto &row : rows)
        EXPECT_EQ(parseAll(row.text), QList<Entry> { row.expected }) << row.label;
}

TEST(M3uParser, PiecesParseLikeTheWholeText)
{
    QByteArray text = fixture("provider.m3u") + fixture("provider_cr.m3u") + fixture("provider_bom_crlf.m3u");
    text += "#EXTGRP:Tail\n#EXTINF:-1,Unfinished\n#EXTINF:-1,B\nhttp://h/b\n#EXTINF:-1,Dangling";
    const QList<Entry> whole = parseAll(text);
    ASSERT_EQ(whole.size(), 28);
    for (int parts = 1; parts <= 40; ++parts) {
        const QList<QByteArrayView> pieces = M3uParser::splitAtEntries(text, parts);
        EXPECT_LE(pieces.size(), parts);
        QByteArray joined;
        QList<Entry> entries;
        for (QByteArrayView piece : pieces) {
            joined += piece;
            entries += parseAll(piece);
        }
        EXPECT_EQ(joined, text) << parts;
        EXPECT_EQ(entries, whole) << parts;
    }
}

} // namespace
