import QtQuick
import QtQuick.Layouts
import Zelfor.Kit

// Guide entries: times and title; the one on air adds a "Now" chip, its progress and description.
ColumnLayout {
    id: list

    property var rows: []

    spacing: 12

    Repeater {
        model: list.rows

        ColumnLayout {
            id: row

            required property var modelData
            required property int index

            Layout.fillWidth: true
            spacing: 4

            RowLayout {
                spacing: 8

                UiText {
                    text: row.modelData.times
                    color: row.modelData.onAir ? Theme.cyanLight : Theme.textDim
                    font.pointSize: Theme.pointSize(11.5)
                    font.weight: Font.DemiBold
                }

                Chip {
                    visible: row.modelData.onAir
                    text: Localized.text("now")
                    color: Theme.red
                }
            }

            UiText {
                Layout.fillWidth: true
                clip: true
                text: ProviderText.line(row.modelData.title)
                textFormat: Text.PlainText
                color: "white"
                font.pointSize: Theme.pointSize(13.5)
                font.weight: row.modelData.onAir ? Font.DemiBold : Font.Normal
                wrapMode: Text.WordWrap
                maximumLineCount: 2
                elide: Text.ElideRight
            }

            Item {
                Layout.fillWidth: true
                Layout.preferredHeight: 4
                visible: row.modelData.onAir

                Rectangle {
                    anchors.fill: parent
                    radius: 2
                    color: Theme.raisedHover
                }

                GradientShape {
                    anchors.left: parent.left
                    anchors.top: parent.top
                    anchors.bottom: parent.bottom
                    width: parent.width * row.modelData.progress
                    radius: 2
                }
            }

            UiText {
                Layout.fillWidth: true
                visible: row.modelData.onAir && row.modelData.description !== ""
                text: row.modelData.description
                textFormat: Text.PlainText
                color: Theme.textDim
                font.pixelSize: 12
                wrapMode: Text.WordWrap
                maximumLineCount: 3
                elide: Text.ElideRight
            }

            Rectangle {
                Layout.fillWidth: true
                Layout.preferredHeight: 1
                visible: row.index < list.rows.length - 1
                color: Theme.stroke
            }
        }
    }
}
