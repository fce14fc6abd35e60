#pragma once

#include "model/Records.h"

#include <QFont>
#include <QList>
#include <QObject>
#include <QSet>
#include <QString>
#include <QStringList>
#include <QTimer>

// One character of each script the names of `items` use beyond Latin and common marks,
// and their first symbol: what makes text fall back to other fonts.
QString scriptSamples(const MediaItems &items);

// Finds, on a worker thread, the fallback fonts the names of `section` need in the interface
// and rounded faces, then on the main thread those of the fonts a channel row draws with,
// so the first list that shows them does not look them up. Main thread only.
void warmScriptFonts(const SectionPtr &section);

// Lays script samples out in a few fonts on this thread, one sample per turn of the event
// loop, so a long queue of them never holds the loop up. Font engines are kept per thread:
// text of those scripts shown later in those fonts on this thread then finds its fallback
// fonts at once.
class FontWarmer : public QObject {
public:
    explicit FontWarmer(QList<QFont> fonts, QObject *parent = nullptr);

    // Queues the characters of `samples` (as scriptSamples gives them) not queued before.
    void add(const QString &samples);
    // Samples queued and not laid out yet.
    qsizetype pending() const { return m_queue.size(); }

private:
    void layOutNext();

    QList<QFont> m_fonts;
    QStringList m_queue;
    QSet<QString> m_queued;
    QTimer m_next;
};
