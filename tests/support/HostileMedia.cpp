#include "HostileMedia.h"

#include <QtEndian>

namespace {

QByteArray atom(const char *type, const QByteArray &payload)
{
    QByteArray box(4, '\0');
    qToBigEndian<quint32>(quint32(8 + payload.size()), box.data());
    return box + QByteArray(type, 4) + payload;
}

QByteArray bigEndian32(quint32 value)
{
    QByteArray bytes(4, '\0');
    qToBigEndian(value, bytes.data());
    return bytes;
}

} // namespace

namespace HostileMedia {

QByteArray hlsSegments(const QString &segment)
{
    return "#EXTM3U\n#EXT-X-VERSION:3\n#EXT-X-TARGETDURATION:10\n#EXT-X-MEDIA-SEQUENCE:0\n#EXTINF:10.0,\n"
        + segment.toUtf8() + "\n#EXT-X-ENDLIST\n";
}

QByteArray hlsKeyed(const QString &key, const QString &segment)
{
    return "#EXTM3U\n#EXT-X-VERSION:3\n#EXT-X-TARGETDURATION:10\n#EXT-X-MEDIA-SEQUENCE:0\n"
           "#EXT-X-KEY:METHOD=AES-128,URI=\""
        + key.toUtf8() + "\",IV=0x00000000000000000000000000000001\n#EXTINF:10.0,\n" + segment.toUtf8()
        + "\n#EXT-X-ENDLIST\n";
}

QByteArray hlsMaster(const QString &variant)
{
    return "#EXTM3U\n#EXT-X-STREAM-INF:BANDWIDTH=800000,RESOLUTION=160x120\n" + variant.toUtf8() + '\n';
}

QByteArray hlsMasterWithRendition(const QString &rendition, const QString &variant)
{
    return "#EXTM3U\n#EXT-X-MEDIA:TYPE=AUDIO,GROUP-ID=\"sound\",NAME=\"Sound\",DEFAULT=YES,AUTOSELECT=YES,"
           "URI=\""
        + rendition.toUtf8() + "\"\n#EXT-X-STREAM-INF:BANDWIDTH=800000,RESOLUTION=160x120,AUDIO=\"sound\"\n"
        + variant.toUtf8() + '\n';
}

QByteArray dashManifest(const QString &base, const QString &segment)
{
    return "<?xml version=\"1.0\"?>\n<MPD xmlns=\"urn:mpeg:dash:schema:mpd:2011\" type=\"static\" "
           "mediaPresentationDuration=\"PT10S\" minBufferTime=\"PT2S\" "
           "profiles=\"urn:mpeg:dash:profile:isoff-live:2011\">\n<BaseURL>"
        + base.toUtf8()
        + "</BaseURL>\n<Period>\n<AdaptationSet mimeType=\"video/mp4\">\n"
          "<Representation id=\"v\" bandwidth=\"800000\" codecs=\"avc1.42c00d\" width=\"160\" "
          "height=\"120\">\n"
          "<SegmentList duration=\"10\" timescale=\"1\"><Initialization sourceURL=\""
        + segment.toUtf8() + "\"/><SegmentURL media=\"" + segment.toUtf8()
        + "\"/></SegmentList>\n</Representation>\n</AdaptationSet>\n</Period>\n</MPD>\n";
}

QByteArray referenceMovie(const QString &target)
{
    const QByteArray address = target.toUtf8() + '\0';
    const QByteArray reference
        = QByteArray(4, '\0') + QByteArray("url ") + bigEndian32(quint32(address.size())) + address;
    const QByteArray type = atom("ftyp", QByteArray("qt  ") + bigEndian32(0x200) + QByteArray("qt  "));
    return type + atom("moov", atom("rmra", atom("rmda", atom("rdrf", reference))));
}

QByteArray m3uList(const QString &entry)
{
    return "#EXTM3U\n#EXTINF:-1,Entry\n" + entry.toUtf8() + '\n';
}

QByteArray plsList(const QString &entry)
{
    return "[playlist]\nNumberOfEntries=1\nFile1=" + entry.toUtf8() + "\nTitle1=Entry\nVersion=2\n";
}

QByteArray xspfList(const QString &entry)
{
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<playlist version=\"1\" "
           "xmlns=\"http://xspf.org/ns/0/\"><trackList><track><location>"
        + entry.toUtf8().toPercentEncoding(":/") + "</location></track></trackList></playlist>\n";
}

QByteArray asxList(const QString &entry)
{
    return "<asx version=\"3.0\"><entry><title>Entry</title><ref href=\"" + entry.toUtf8()
        + "\"/></entry></asx>\n";
}

} // namespace HostileMedia
