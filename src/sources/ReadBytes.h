#pragma once

#include <QByteArray>
#include <QByteArrayView>

// What a reader does with input bytes once it has read them.
enum class ReadBytes {
    keep,
    giveBack, // the reader owns them and nothing reads them again
};

// `giveBack` only for an array this reader alone holds.
inline ReadBytes readBytesOf(const QByteArray &bytes)
{
    return bytes.isDetached() ? ReadBytes::giveBack : ReadBytes::keep;
}

// Returns the whole memory pages inside `bytes` to the system, so a big input stops
// counting once read. The bytes read as zeros afterwards.
void givePagesBack(QByteArrayView bytes);
