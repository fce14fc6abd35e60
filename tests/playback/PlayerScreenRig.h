#pragma once

#include "../app/AppStateFixture.h"
#include "FakeBackends.h"
#include "LayerStandIn.h"
#include "playback/PlayerScreenModel.h"

#include <QCursor>
#include <QGuiApplication>

// A queue of `count` entries made on demand; counts the entries asked for.
struct QueueSource {
    bool live = false;
    qint64 count = 0;
    std::shared_ptr<int> reads = std::make_shared<int>(0);

    PlayItem at(qint64 position) const
    {
        PlayItem item = playItem(QStringLiteral("e%1").arg(position), live);
        item.number = live ? position + 100 : 0;
        if (live)
            item.favorite = FavoriteEntry { .playlistId = 7,
                .type = ContentType::live,
                .id = QStringLiteral("e%1").arg(position),
                .name = item.title };
        return item;
    }

    PlayQueue queue(qint64 start, bool resume = true) const;
};

// The rows of a queue source: ready-made items, each counted when asked for.
class QueueSourceRows final : public PlayRows {
public:
    explicit QueueSourceRows(QueueSource source)
        : m_source(std::move(source))
    {
    }
    qint64 count() const override { return m_source.count; }
    PlayItem item(qint64 at) const override
    {
        ++*m_source.reads;
        return m_source.at(at);
    }
    std::optional<MediaItem> media(qint64) const override { return std::nullopt; }

private:
    QueueSource m_source;
};

inline PlayQueue QueueSource::queue(qint64 start, bool resume) const
{
    return { std::make_shared<const QueueSourceRows>(*this), start, resume };
}

// A player screen over an isolated app state and the scripted engine, in virtual time.
class PlayerScreenRig {
public:
    // Stacks `below` and a player entry of `queue`, and makes the screen for that entry.
    PlayerScreenModel &open(const PlayQueue &queue, const Route &below = Routes::Home {})
    {
        env.makeState({ below, Routes::Player { queue } });
        ScreenDeps deps = env.screenDeps();
        deps.playback = engine.engine.get();
        deps.clock = &engine.clock;
        screen = std::make_unique<PlayerScreenModel>(deps, env.topEntry());
        return *screen;
    }

    // Opens the screen and shows it on top, as the root view does.
    PlayerScreenModel &appear(const PlayQueue &queue, const Route &below = Routes::Home {})
    {
        showAsLayerWould(open(queue, below), *env.state);
        return *screen;
    }

    // The current platform item becomes ready with that length and plays from `position`.
    void ready(double duration, double position = 0)
    {
        engine.platform->becomeReady(duration);
        engine.platform->setPlayhead(position);
        engine.platform->setControl(PlatformPlayer::TimeControl::playing);
        advance(PlayerEngine::kTickMs);
    }

    void advance(qint64 ms) { engine.clock.advance(ms); }
    static bool cursorHidden()
    {
        return QGuiApplication::overrideCursor()
            && QGuiApplication::overrideCursor()->shape() == Qt::BlankCursor;
    }

    AppStateFixture env;
    EngineRig engine;
    std::unique_ptr<PlayerScreenModel> screen;
};
