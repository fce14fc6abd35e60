import QtQuick
import QtQuick.Layouts
import Zelfor.App
import Zelfor.Kit

// The device information screen.
Item {
    id: root

    required property ActivationScreenModel screen

    ColumnLayout {
        anchors.fill: parent
        anchors.leftMargin: 28
        anchors.rightMargin: 28
        anchors.topMargin: 38
        anchors.bottomMargin: 22
        spacing: 0

        RowLayout {
            Layout.fillWidth: true
            Layout.bottomMargin: 22
            spacing: 10

            BackButton {
                visible: screen.canGoBack
                action: () => screen.back()
            }
            BrandTitle {
                markSize: 34
                fontSize: 24
            }
            Item { Layout.fillWidth: true }
            Chip {
                visible: screen.offline
                text: Localized.text("offline")
                color: Theme.amber
                icon: "wifi.slash"
            }
        }

        RowLayout {
            Layout.fillWidth: true
            Layout.fillHeight: true
            spacing: 22

            Rectangle {
                Layout.fillWidth: true
                Layout.fillHeight: true
                radius: 26
                color: Theme.surfaceDim
                border.width: 1
                border.color: Theme.stroke

                ColumnLayout {
                    anchors.fill: parent
                    anchors.margins: 30
                    spacing: 18

                    UiText {
                        Layout.fillWidth: true
                        text: screen.title
                        color: "white"
                        font.family: Theme.roundedFontFamily
                        font.pixelSize: 32
                        font.weight: Font.Bold
                        wrapMode: Text.Wrap
                    }

                    ColumnLayout {
                        Layout.fillWidth: true
                        spacing: 14

                        Repeater {
                            model: [screen.stepOne, Localized.text("act_step2"), Localized.text("act_step3")]

                            RowLayout {
                                required property string modelData
                                required property int index

                                Layout.fillWidth: true
                                spacing: 14

                                GradientShape {
                                    Layout.alignment: Qt.AlignTop
                                    implicitWidth: 32
                                    implicitHeight: 32
                                    radius: 16
                                    diagonal: true

                                    UiText {
                                        anchors.centerIn: parent
                                        text: String(index + 1)
                                        color: "white"
                                        font.pixelSize: 15
                                        font.weight: Font.Bold
                                    }
                                }
                                UiText {
                                    Layout.fillWidth: true
                                    Layout.alignment: Qt.AlignTop
                                    topPadding: 5
                                    text: modelData
                                    font.pixelSize: 16
                                    wrapMode: Text.Wrap
                                    maximumLineCount: 3
                                    elide: Text.ElideRight
                                }
                            }
                        }
                    }

                    SupportLine {
                        Layout.fillWidth: true
                        text: screen.emailLine
                        icon: "envelope.fill"
                        color: Theme.cyan
                    }
                    SupportLine {
                        Layout.fillWidth: true
                        text: screen.whatsappLine
                        icon: "phone.fill"
                        color: Theme.green
                    }

                    Item {
                        Layout.fillHeight: true
                        Layout.minimumHeight: 10
                    }

                    Row {
                        spacing: 12

                        PillButton {
                            title: Localized.text(screen.busy ? "refreshing" : "refresh")
                            icon: "arrow.clockwise"
                            primary: !screen.canContinue
                            focused: screen.focus === 0
                            action: () => screen.startRefresh()
                        }
                        PillButton {
                            visible: screen.canContinue
                            title: Localized.text("continue_")
                            icon: Localized.rightToLeft() ? "arrow.left" : "arrow.right"
                            primary: true
                            focused: screen.focus === 1
                            action: () => screen.proceed()
                        }
                        PillButton {
                            title: Localized.text("settings")
                            icon: "gearshape.fill"
                            focused: screen.focus === 2
                            action: () => screen.openSettings()
                        }
                    }
                }
            }

            DeviceCard {
                Layout.preferredWidth: 490
                Layout.fillHeight: true
                activation: screen
            }
        }

        RowLayout {
            Layout.fillWidth: true

            Item { Layout.fillWidth: true }
            UiText {
                text: "Zelfor v" + screen.version
                color: Theme.withOpacity(Theme.textDim, 0.7)
                font.pixelSize: 12
            }
        }
    }
}
