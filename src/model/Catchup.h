#pragma once

#include "OptText.h"

#include <QExplicitlySharedDataPointer>
#include <QSharedData>
#include <QString>

#include <optional>

// Offers are kept as the provider states them; whatever counts or spans time over the
// days of an offer stops at this many (ten years, far above any real archive), so no
// arithmetic on them overflows and an absurd offer never lists millions of rows.
inline constexpr qint64 kCatchupDaysGuard = 3650;

struct Catchup {
    qint64 days = 1;
    QString mode;
    OptText source;
    bool operator==(const Catchup &) const = default;
};

// A catch-up offer that may be absent, in the room of one pointer: few channels have
// one, so a present offer is held once and shared, read-only, by every copy.
class OptCatchup {
public:
    OptCatchup() noexcept = default;
    OptCatchup(std::nullopt_t) noexcept { }
    OptCatchup(Catchup catchup)
        : m_shared(new Shared(std::move(catchup)))
    {
    }
    OptCatchup(std::optional<Catchup> catchup)
        : m_shared(catchup ? new Shared(std::move(*catchup)) : nullptr)
    {
    }

    operator std::optional<Catchup>() const
    {
        return m_shared ? std::optional(m_shared->value) : std::nullopt;
    }

    bool has_value() const noexcept { return bool(m_shared); }
    explicit operator bool() const noexcept { return has_value(); }
    const Catchup &operator*() const noexcept { return m_shared->value; }
    const Catchup *operator->() const noexcept { return &m_shared->value; }

    void reset() noexcept { m_shared.reset(); }

    friend bool operator==(const OptCatchup &a, const OptCatchup &b)
    {
        return a.m_shared == b.m_shared || (a && b && *a == *b);
    }

private:
    struct Shared : QSharedData {
        explicit Shared(Catchup offer)
            : value(std::move(offer))
        {
        }
        const Catchup value;
    };

    QExplicitlySharedDataPointer<const Shared> m_shared;
};

static_assert(sizeof(OptCatchup) == sizeof(void *));
