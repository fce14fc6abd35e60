import QtQuick
import QtQuick.Layouts
import Zelfor.Kit

// One queue entry of the player's channel list: number, logo and title; the row being
// played is filled and shows the equaliser unless its playback failed, the focused one has
// the accent border.
Item {
    id: root

    required property int index
    required property string title
    required property string logo
    required property int number
    required property bool playing
    required property bool equalizer
    required property bool focused

    signal clicked(int row)

    height: 46

    Rectangle {
        anchors.fill: parent
        radius: 10
        color: root.playing ? Theme.withOpacity(Theme.violet, 0.35) : Qt.rgba(1, 1, 1, 0.03)
    }

    GradientShape {
        anchors.fill: parent
        radius: 10
        borderWidth: 2
        visible: root.focused
    }

    RowLayout {
        anchors.fill: parent
        anchors.leftMargin: 8
        anchors.rightMargin: 8
        spacing: 10

        UiText {
            Layout.preferredWidth: 36
            horizontalAlignment: Text.AlignRight
            text: String(root.number)
            color: Theme.textDim
            font.pixelSize: 12
            font.weight: Font.DemiBold
        }

        Rectangle {
            Layout.preferredWidth: 46 + 4
            Layout.preferredHeight: 30 + 4
            radius: 6
            color: Theme.raised
            clip: true

            RemoteImage {
                anchors.fill: parent
                anchors.margins: 2
                url: root.logo
                title: root.title
                fill: false
                fontSize: 11
            }
        }

        UiText {
            Layout.fillWidth: true
            text: root.title
            color: "white"
            font.pointSize: Theme.pointSize(13.5)
            font.weight: root.playing ? Font.DemiBold : Font.Normal
            elide: Text.ElideRight
            maximumLineCount: 1
        }

        Item {
            Layout.preferredWidth: 4
        }

        EqualizerIcon {
            objectName: "equalizer"
            visible: root.equalizer
            Layout.preferredWidth: 14
            Layout.preferredHeight: 12
        }
    }

    MouseArea {
        anchors.fill: parent
        onClicked: root.clicked(root.index)
    }
}
