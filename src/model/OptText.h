#pragma once

#include <QString>

#include <concepts>
#include <iosfwd>
#include <optional>
#include <type_traits>
#include <utility>

// A text that may be absent, in the room of one QString: a null QString stands for
// "absent", so a present empty text is held as a non-null empty one (a static literal,
// no allocation). Reads like std::optional<QString>, with read-only access to the text.
class OptText {
public:
    OptText() noexcept = default;
    OptText(std::nullopt_t) noexcept { }

    template <typename T>
        requires(std::constructible_from<QString, T &&> && !std::same_as<std::remove_cvref_t<T>, OptText>)
    explicit(!std::is_convertible_v<T &&, QString>) OptText(T &&text)
        : m_text(std::forward<T>(text))
    {
        markPresent();
    }

    OptText(const std::optional<QString> &text)
        : m_text(text ? *text : QString())
    {
        if (text)
            markPresent();
    }

    OptText(std::optional<QString> &&text)
        : m_text(text ? std::move(*text) : QString())
    {
        if (text)
            markPresent();
    }

    OptText(const OptText &) = default;
    OptText &operator=(const OptText &) = default;

    // A moved-from text stays present (and empty) when it was, as an optional does.
    OptText(OptText &&other) noexcept
        : m_text(std::move(other.m_text))
    {
        if (!m_text.isNull())
            other.markPresent();
    }

    OptText &operator=(OptText &&other) noexcept
    {
        const bool present = other.has_value();
        m_text.swap(other.m_text);
        if (present)
            other.markPresent();
        else
            other.reset();
        return *this;
    }

    OptText &operator=(std::nullopt_t) noexcept
    {
        reset();
        return *this;
    }

    operator std::optional<QString>() const
    {
        return has_value() ? std::optional<QString>(m_text) : std::nullopt;
    }

    bool has_value() const noexcept { return !m_text.isNull(); }
    explicit operator bool() const noexcept { return has_value(); }

    const QString &operator*() const noexcept { return m_text; }
    const QString *operator->() const noexcept { return &m_text; }
    QString value_or(const QString &fallback) const { return has_value() ? m_text : fallback; }

    void reset() noexcept { m_text = QString(); }

    friend bool operator==(const OptText &a, const OptText &b) noexcept
    {
        return a.has_value() == b.has_value() && a.m_text == b.m_text;
    }
    friend bool operator==(const OptText &a, std::nullopt_t) noexcept { return !a.has_value(); }
    friend bool operator==(const OptText &a, const std::optional<QString> &b)
    {
        return b ? a == *b : !a.has_value();
    }
    template <typename T>
        requires(
            (std::constructible_from<QString, const T &> || std::is_convertible_v<const T &, QStringView>)
            && !std::same_as<T, OptText>)
    friend bool operator==(const OptText &a, const T &text)
    {
        return a.has_value() && a.m_text == text;
    }

    // How test failures show it.
    friend void PrintTo(const OptText &text, std::ostream *out);

private:
    void markPresent() noexcept
    {
        if (m_text.isNull())
            m_text = QStringLiteral("");
    }

    QString m_text;
};

static_assert(sizeof(OptText) == sizeof(QString));
