import QtQuick
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
    clipContent: false
    hoverScale: 1.04

    RemoteImage {
        anchors.fill: parent
        radius: root.radius
        url: root.logo
        title: root.name
        fill: true
        fontSize: 26
    }

    // The lower half darkens towards the bottom edge.
    GradientShape {
        anchors.fill: parent
        radius: root.radius
        vertical: true
        colors: ["transparent", "transparent", "#e0000000"]
    }

    UiText {
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.bottom: parent.bottom
        anchors.margins: 10
        clip: true
        text: ProviderText.line(root.name)
        color: "white"
        font.pixelSize: 13
        font.weight: Font.DemiBold
        wrapMode: Text.Wrap
        maximumLineCount: 2
        elide: Text.ElideRight
        horizontalAlignment: Text.AlignLeft
    }

    Loader {
        objectName: "ratingBadge"
        anchors.left: parent.left
        anchors.top: parent.top
        anchors.margins: 8
        active: root.ratingBadge !== ""
        sourceComponent: Rectangle {
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
                    font.pointSize: Theme.pointSize(10.5)
                    font.weight: Font.Bold
                }
            }
        }
    }

    Loader {
        objectName: "favoriteBadge"
        anchors.right: parent.right
        anchors.top: parent.top
        anchors.margins: 8
        active: root.favorite
        sourceComponent: Rectangle {
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
    }

    Loader {
        objectName: "playMark"
        anchors.centerIn: parent
        active: root.active
        sourceComponent: Item {
            width: 40
            height: 40

            Shadow {
                target: disc
                color: Qt.rgba(0, 0, 0, 0.33)
                blur: 10
                shapeRadius: disc.width / 2
            }

            // The glyph's disc: 20 of the symbol's 24 units.
            Item {
                id: disc
                anchors.centerIn: parent
                width: 40 * 20 / 24
                height: width
            }

            Icon {
                anchors.fill: parent
                name: "play.circle.fill"
                size: 40
                color: Qt.rgba(1, 1, 1, 0.92)
            }
        }
    }
}
