import QtQuick
import Qt5Compat.GraphicalEffects
import Zelfor.Kit

// A poster tile of a grid, 2 wide by 3 high; as a delegate of a content grid the model's
// roles fill it. `logo` is the poster, `ratingBadge` the rating text ("" shows no badge).
Card {
    id: root

    required property string name
    required property string logo
    required property string ratingBadge
    required property bool favorite

    implicitWidth: 180
    implicitHeight: width * 3 / 2
    radius: 14
    fill: Theme.surface
    hoverScale: 1.04

    RemoteImage {
        anchors.fill: parent
        url: root.logo
        title: root.name
        fill: true
        fontSize: 26
    }

    Rectangle {
        anchors.fill: parent
        gradient: Gradient {
            GradientStop { position: 0; color: "transparent" }
            GradientStop { position: 0.5; color: "transparent" }
            GradientStop { position: 1; color: Qt.rgba(0, 0, 0, 0.88) }
        }
    }

    UiText {
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.bottom: parent.bottom
        anchors.margins: 10
        text: root.name
        color: "white"
        font.pixelSize: 13
        font.weight: Font.DemiBold
        wrapMode: Text.Wrap
        maximumLineCount: 2
        elide: Text.ElideRight
        horizontalAlignment: Text.AlignLeft
    }

    Rectangle {
        objectName: "ratingBadge"
        anchors.left: parent.left
        anchors.top: parent.top
        anchors.margins: 8
        visible: root.ratingBadge !== ""
        width: ratingRow.implicitWidth + 2 * 6
        height: ratingRow.implicitHeight + 2 * 3
        radius: height / 2
        color: Qt.rgba(0, 0, 0, 0.6)

        Row {
            id: ratingRow
            anchors.centerIn: parent
            spacing: 3

            Icon {
                anchors.verticalCenter: parent.verticalCenter
                name: "star.fill"
                size: 9
                color: Theme.amber
            }

            UiText {
                anchors.verticalCenter: parent.verticalCenter
                text: root.ratingBadge
                color: Theme.amber
                font.pixelSize: 11
                font.weight: Font.Bold
            }
        }
    }

    Rectangle {
        objectName: "favoriteBadge"
        anchors.right: parent.right
        anchors.top: parent.top
        anchors.margins: 8
        visible: root.favorite
        width: 11 + 2 * 6
        height: width
        radius: width / 2
        color: Qt.rgba(0, 0, 0, 0.6)

        Icon {
            anchors.centerIn: parent
            name: "heart.fill"
            size: 11
            color: Theme.pink
        }
    }

    Item {
        objectName: "playMark"
        anchors.centerIn: parent
        width: 40
        height: 40
        visible: root.active

        Icon {
            id: playMark
            anchors.fill: parent
            name: "play.circle.fill"
            size: 40
            color: Qt.rgba(1, 1, 1, 0.92)
            visible: false
        }

        DropShadow {
            anchors.fill: parent
            source: playMark
            radius: 10
            samples: 21
            color: Qt.rgba(0, 0, 0, 0.33)
        }
    }
}
