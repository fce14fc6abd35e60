import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Zelfor.App
import Zelfor.Home
import Zelfor.Kit

// The search screen: a query field over one row of results per content type.
Item {
    id: root

    required property SearchScreenModel screen

    Connections {
        target: screen
        function onFieldFocusedChanged() {
            if (screen.fieldFocused)
                field.forceActiveFocus()
            else if (field.activeFocus)
                root.forceActiveFocus()
        }
    }

    ColumnLayout {
        anchors.fill: parent
        anchors.leftMargin: 28
        anchors.rightMargin: 28
        anchors.topMargin: 38
        anchors.bottomMargin: 22
        spacing: 20
        visible: screen.hasPlaylist

        RowLayout {
            Layout.fillWidth: true
            spacing: 14

            BackButton {
                objectName: "backButton"
                action: () => screen.back()
            }

            Rectangle {
                objectName: "searchField"
                Layout.fillWidth: true
                Layout.preferredHeight: 54
                radius: height / 2
                color: Theme.surface
                border.width: 1
                border.color: Qt.rgba(1, 1, 1, 0.1)

                GradientShape {
                    anchors.fill: parent
                    radius: parent.radius
                    borderWidth: 2
                    visible: screen.fieldFocused
                }

                RowLayout {
                    anchors.fill: parent
                    anchors.leftMargin: 20
                    anchors.rightMargin: 20
                    spacing: 12

                    Icon {
                        name: "magnifyingglass"
                        size: 18
                        font.weight: Font.DemiBold
                        color: Theme.violetLight
                    }

                    TextInput {
                        id: field
                        objectName: "queryInput"
                        Layout.fillWidth: true
                        text: screen.query
                        color: "white"
                        font.family: Theme.fontFamily
                        font.pixelSize: 20
                        font.weight: Font.Medium
                        clip: true
                        selectByMouse: true
                        onTextEdited: screen.query = text
                        onActiveFocusChanged: screen.fieldFocused = activeFocus

                        UiText {
                            anchors.fill: parent
                            verticalAlignment: Text.AlignVCenter
                            visible: field.text === ""
                            text: Localized.text("search_hint")
                            color: Theme.textDim
                            font.pixelSize: 20
                            font.weight: Font.Medium
                            elide: Text.ElideRight
                        }
                    }

                    Spinner {
                        objectName: "loadingSpinner"
                        visible: screen.loading
                        size: 18
                    }

                    Icon {
                        objectName: "clearButton"
                        visible: screen.query !== ""
                        name: "xmark.circle.fill"
                        size: 18
                        color: Theme.textDim

                        TapHandler {
                            onTapped: screen.clearQuery()
                        }
                    }
                }
            }
        }

        Item {
            Layout.fillWidth: true
            Layout.fillHeight: true

            MessageView {
                objectName: "hintMessage"
                anchors.fill: parent
                visible: screen.content === "hint"
                icon: "sparkle.magnifyingglass"
                text: Localized.text("search_min_chars")
                color: Theme.textDim
            }

            MessageView {
                objectName: "noResultsMessage"
                anchors.fill: parent
                visible: screen.content === "empty"
                icon: "magnifyingglass"
                text: Localized.text("no_results")
                color: Theme.textDim
            }

            Flickable {
                id: scroller
                objectName: "resultRows"
                anchors.fill: parent
                visible: screen.content === "results"
                clip: true
                contentWidth: width
                contentHeight: rowsColumn.implicitHeight + 2 * 6
                boundsBehavior: Flickable.StopAtBounds
                ScrollBar.vertical: ScrollBar { policy: ScrollBar.AsNeeded }

                Column {
                    id: rowsColumn
                    x: 6
                    y: 6
                    width: scroller.width - 2 * 6
                    spacing: 26

                    Repeater {
                        model: screen.visibleRows

                        SearchResultRow {
                            required property int modelData
                            width: rowsColumn.width
                            search: screen
                            type: modelData
                        }
                    }
                }
            }
        }
    }
}
