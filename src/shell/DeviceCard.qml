import QtQuick
import QtQuick.Layouts
import Zelfor.App
import Zelfor.Kit

// The device's address and key with copy buttons, and the management page as a QR code
// and a link.
Item {
    id: root

    required property ActivationScreenModel activation

    readonly property bool hasKey: activation.deviceKey !== ""

    Rectangle {
        anchors.fill: parent
        radius: 26
        color: Theme.surface
    }

    GradientShape {
        anchors.fill: parent
        radius: 26
        diagonal: true
        colors: [Theme.withOpacity(Theme.violet, 0.22), Theme.withOpacity(Theme.cyan, 0.06)]
    }

    GradientShape {
        anchors.fill: parent
        radius: 26
        borderWidth: 1
        opacity: 0.5
    }

    ColumnLayout {
        anchors.fill: parent
        anchors.margins: 30
        spacing: 18

        ColumnLayout {
            Layout.fillWidth: true
            spacing: 8
            LayoutMirroring.enabled: false
            LayoutMirroring.childrenInherit: true

            SectionLabel { text: Localized.text("mac_address") }
            SelectableValue {
                Layout.fillWidth: true
                text: ProviderText.line(root.activation.deviceAddress)
                size: 30
            }
            SectionLabel {
                Layout.topMargin: 10
                text: Localized.text("device_key")
            }
            SelectableValue {
                Layout.fillWidth: true
                text: root.hasKey ? ProviderText.line(root.activation.deviceKey) : "— — —"
                size: 38
                weight: Font.ExtraBold
                tracking: 6
                accent: true
            }
        }

        Flow {
            Layout.fillWidth: true
            spacing: 10

            PillButton {
                height: 36
                title: Localized.text("copy_mac")
                icon: "doc.on.doc"
                action: () => root.activation.copy(root.activation.deviceAddress)
            }
            PillButton {
                visible: root.hasKey
                height: 36
                title: Localized.text("copy_key")
                icon: "doc.on.doc"
                action: () => root.activation.copy(root.activation.deviceKey)
            }
            PillButton {
                visible: root.hasKey
                height: 36
                title: Localized.text("copy_both")
                icon: "square.on.square"
                primary: true
                action: () => root.activation.copyBoth(root.activation.deviceAddress, root.activation.deviceKey)
            }
        }

        Rectangle {
            Layout.fillWidth: true
            Layout.topMargin: 4
            Layout.bottomMargin: 4
            implicitHeight: 1
            color: Theme.stroke
        }

        RowLayout {
            Layout.fillWidth: true
            spacing: 18

            Rectangle {
                visible: qr.hasCode
                implicitWidth: 152
                implicitHeight: 152
                radius: 16
                color: "white"

                QrCodeItem {
                    id: qr
                    anchors.fill: parent
                    anchors.margins: 10
                    text: root.activation.manageAddress
                }
            }

            ColumnLayout {
                Layout.fillWidth: true
                spacing: 8

                UiText {
                    Layout.fillWidth: true
                    text: Localized.text("scan_to_manage")
                    color: "white"
                    font.pixelSize: 14
                    font.weight: Font.DemiBold
                    wrapMode: Text.Wrap
                }
                UiText {
                    Layout.fillWidth: true
                    text: root.activation.manageAddress
                    color: Theme.cyan
                    font.pixelSize: 13
                    font.weight: Font.Medium
                    wrapMode: Text.WrapAnywhere
                    maximumLineCount: 2
                    elide: Text.ElideRight

                    MouseArea {
                        anchors.fill: parent
                        cursorShape: Qt.PointingHandCursor
                        onClicked: root.activation.openManagePage(root.activation.manageAddress)
                    }
                }
                PillButton {
                    Layout.topMargin: 4
                    height: 34
                    title: Localized.text("open_site")
                    icon: "safari"
                    action: () => root.activation.openManagePage(root.activation.manageAddress)
                }
            }
        }

        Item { Layout.fillHeight: true }
    }
}
