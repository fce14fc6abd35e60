import QtQuick
import QtQuick.Layouts
import Zelfor.App
import Zelfor.Kit

// The first screen: the brand while the portal answers, or the failure with a retry.
Item {
    id: root

    required property SplashScreenModel screen

    ColumnLayout {
        anchors.fill: parent
        spacing: 0

        Item { Layout.fillHeight: true }

        Item {
            Layout.alignment: Qt.AlignHCenter
            Layout.preferredWidth: 320
            Layout.preferredHeight: 320

            RadialGlow {
                anchors.fill: parent
                color: Theme.withOpacity(Theme.violet, 0.45)
                scale: screen.appear ? 1.05 : 0.85
                Behavior on scale { Spring { response: 0.9 } }
            }

            Item {
                anchors.centerIn: parent
                width: 112
                height: 112
                scale: screen.appear ? 1 : 0.8
                Behavior on scale { Spring { response: 0.9 } }

                Shadow {
                    target: mark
                    color: Theme.violet
                    opacity: 0.6
                    blur: 30
                    offsetY: 10
                    shapeRadius: 0.24 * 112
                }

                BrandMark {
                    id: mark
                    size: 112
                }
            }
        }

        Row {
            objectName: "brandTitle"
            Layout.alignment: Qt.AlignHCenter
            Layout.topMargin: -24
            LayoutMirroring.enabled: false
            LayoutMirroring.childrenInherit: true
            opacity: screen.appear ? 1 : 0
            Behavior on opacity { Spring { response: 0.9 } }

            UiText {
                text: "Zelf"
                color: "white"
                font.family: Theme.roundedFontFamily
                font.pixelSize: 46
                font.weight: Font.ExtraBold
            }

            AccentText {
                text: "or"
                font.family: Theme.roundedFontFamily
                font.pixelSize: 46
                font.weight: Font.ExtraBold
            }
        }

        Item {
            Layout.fillWidth: true
            Layout.preferredHeight: 150
            Layout.topMargin: 26

            Row {
                anchors.centerIn: parent
                visible: !screen.hasError
                spacing: 12

                Spinner {
                    anchors.verticalCenter: parent.verticalCenter
                    size: 20
                }

                UiText {
                    anchors.verticalCenter: parent.verticalCenter
                    text: Localized.text("connecting")
                    color: Theme.textDim
                    font.pixelSize: 14
                    font.weight: Font.Medium
                }
            }

            // Made with the failure, so that the first frame leaves out its button and icon.
            Loader {
                objectName: "failure"
                anchors.centerIn: parent
                active: screen.hasError
                visible: active

                sourceComponent: Column {
                    spacing: 14

                    UiText {
                        anchors.horizontalCenter: parent.horizontalCenter
                        text: Localized.text("connect_failed")
                        color: "white"
                        font.pixelSize: 17
                        font.weight: Font.DemiBold
                    }

                    // Centred lines at most 420 wide and three high, so that a message of any
                    // length leaves the brand and Retry in place.
                    UiText {
                        anchors.horizontalCenter: parent.horizontalCenter
                        width: Math.min(420, root.width)
                        text: screen.error
                        color: Theme.textDim
                        font.pointSize: Theme.pointSize(13.5)
                        horizontalAlignment: Text.AlignHCenter
                        wrapMode: Text.Wrap
                        maximumLineCount: 3
                        elide: Text.ElideRight
                    }

                    PillButton {
                        objectName: "retryButton"
                        anchors.horizontalCenter: parent.horizontalCenter
                        title: Localized.text("retry")
                        icon: "arrow.clockwise"
                        primary: true
                        action: () => screen.retry()
                    }
                }
            }
        }

        Item { Layout.fillHeight: true }

        UiText {
            objectName: "versionLine"
            Layout.alignment: Qt.AlignHCenter
            Layout.bottomMargin: 24
            text: "v" + screen.version
            color: Theme.textDim
            opacity: 0.7
            font.pixelSize: 12
        }
    }
}
