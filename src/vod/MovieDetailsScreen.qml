import QtQuick
import QtQuick.Layouts
import Zelfor.Kit
import Zelfor.Vod

// One movie over its blurred backdrop: poster, title, chips, plot, people and buttons.
Item {
    id: root
    objectName: "movieScreen"

    required property MovieDetailsScreenModel screen

    Backdrop {
        objectName: "backdrop"
        anchors.fill: parent
        visible: screen.hasPlaylist
        hasUrl: screen.hasBackdrop
        url: screen.backdropUrl
    }

    Item {
        anchors.fill: parent
        anchors.leftMargin: 28
        anchors.rightMargin: 28
        anchors.topMargin: 38
        anchors.bottomMargin: 22
        visible: screen.hasPlaylist

        BackButton {
            id: back
            objectName: "backButton"
            anchors.left: parent.left
            anchors.top: parent.top
            action: () => screen.back()
        }

        RoundedPicture {
            id: poster
            objectName: "poster"
            anchors.left: parent.left
            anchors.top: back.bottom
            anchors.topMargin: 20
            width: 290
            height: 435
            url: screen.posterUrl
            title: screen.title
            radius: 22
            fontSize: 40
            shadowOpacity: 0.6
            shadowBlur: 30
            shadowOffset: 16
        }

        ColumnLayout {
            anchors.left: poster.right
            anchors.leftMargin: 36
            anchors.right: parent.right
            anchors.top: poster.top
            spacing: 16

            UiText {
                objectName: "title"
                Layout.fillWidth: true
                text: screen.title
                color: "white"
                font.family: Theme.roundedFontFamily
                font.pixelSize: 38
                font.weight: Font.ExtraBold
                wrapMode: Text.Wrap
                maximumLineCount: 3
                elide: Text.ElideRight
            }

            MetaChips {
                objectName: "chips"
                Layout.fillWidth: true
                chips: screen.chips
            }

            LoadingBar {
                visible: !screen.loaded
            }

            UiText {
                objectName: "plot"
                Layout.fillWidth: true
                Layout.maximumWidth: 720
                visible: screen.plot !== ""
                text: screen.plot
                color: Theme.withOpacity(Theme.text, 0.92)
                font.pixelSize: 15
                lineHeight: 1.2
                wrapMode: Text.Wrap
                maximumLineCount: 7
                elide: Text.ElideRight
            }

            Column {
                Layout.fillWidth: true
                Layout.maximumWidth: 720
                spacing: 6

                DetailSection {
                    width: parent.width
                    label: Localized.text("director_x")
                    text: screen.director
                }

                DetailSection {
                    width: parent.width
                    label: Localized.text("cast_x")
                    text: screen.cast
                }
            }

            Row {
                objectName: "buttons"
                Layout.topMargin: 8
                spacing: 12

                Repeater {
                    model: screen.buttons

                    PillButton {
                        required property var modelData
                        anchors.verticalCenter: parent.verticalCenter
                        height: 48
                        title: modelData.title
                        icon: modelData.icon
                        primary: modelData.primary
                        focused: modelData.focused
                        action: () => screen.press(modelData.id)
                    }
                }
            }
        }
    }
}
