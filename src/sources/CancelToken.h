#pragma once

#include <QObject>

#include <memory>

// The shared state of one source's tokens.
class CancelState : public QObject {
    Q_OBJECT
public:
    bool fired = false;
signals:
    void cancelled();
};

// What a request watches to give up early. A default token never fires.
class CancelToken {
public:
    CancelToken() = default;

    bool isCancelled() const;
    // Calls `abort` (in `context`'s thread) once the token fires; at once when it already has.
    template <typename Abort> void onCancel(QObject *context, Abort abort) const
    {
        if (!m_state)
            return;
        if (m_state->fired)
            abort();
        else
            QObject::connect(m_state.get(), &CancelState::cancelled, context, std::move(abort));
    }

private:
    friend class CancelSource;

    explicit CancelToken(std::shared_ptr<CancelState> state);

    std::shared_ptr<CancelState> m_state;
};

// Owns the tokens it hands out: cancel() fires them, and so does dropping the source, so
// the requests of a screen or task that is gone stop with it.
class CancelSource {
public:
    CancelSource();
    CancelSource(const CancelSource &) = delete;
    CancelSource &operator=(const CancelSource &) = delete;
    ~CancelSource();

    CancelToken token() const;
    void cancel();

private:
    std::shared_ptr<CancelState> m_state;
};
