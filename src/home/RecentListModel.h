#pragma once

#include "app/Prefs.h"
#include "model/Records.h"

#include <QAbstractListModel>
#include <QList>
#include <QPointer>
#include <QtQml/qqmlregistration.h>

#include <optional>

// The cards of the continue-watching row: recently played items of the active playlist with
// the share of each one watched so far.
class RecentListModel : public QAbstractListModel {
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Made by the home screen")

public:
    enum Role { TitleRole = Qt::UserRole + 1, SubtitleRole, LogoRole, LiveRole, ProgressRole, ItemKeyRole };

    // Resume points come from `prefs`.
    explicit RecentListModel(Prefs *prefs, QObject *parent = nullptr);

    // Replaces the rows; the same items only refresh their progress.
    void setItems(const QList<PlayItem> &items);
    const QList<PlayItem> &items() const { return m_items; }

    // The watched share 0...1 of the item's resume point, -1 without one.
    static double progressOf(const std::optional<Prefs::ResumePoint> &point);

    int rowCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QHash<int, QByteArray> roleNames() const override;

private:
    QPointer<Prefs> m_prefs;
    QList<PlayItem> m_items;
};
