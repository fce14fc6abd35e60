import QtQuick
import QtQuick.Layouts
import Zelfor.Kit
import Zelfor.Live

// The live screen's header: back, title and playlist, the selected category with its
// count, the filter field, search and refresh.
RowLayout {
    id: header

    required property LiveScreenModel screen

    spacing: 14

    BackButton {
        action: () => header.screen.back()
    }

    ColumnLayout {
        Layout.preferredWidth: 214
        Layout.maximumWidth: 214
        Layout.fillWidth: false
        spacing: 2

        UiText {
            Layout.fillWidth: true
            text: Localized.text("live_tv")
            color: "white"
            font.family: Theme.roundedFontFamily
            font.pixelSize: 24
            font.weight: Font.Bold
            maximumLineCount: 1
            elide: Text.ElideRight
        }

        UiText {
            Layout.fillWidth: true
            clip: true
            text: ProviderText.line(header.screen.playlistName)
            textFormat: Text.PlainText
            color: Theme.textDim
            font.pixelSize: 13
            maximumLineCount: 1
            elide: Text.ElideRight
        }
    }

    ColumnLayout {
        Layout.fillWidth: true
        spacing: 2

        UiText {
            objectName: "selectedName"
            Layout.fillWidth: true
            clip: true
            text: ProviderText.line(header.screen.selectedName)
            textFormat: Text.PlainText
            color: "white"
            font.pixelSize: 17
            font.weight: Font.DemiBold
            maximumLineCount: 1
            elide: Text.ElideRight
        }

        UiText {
            objectName: "itemsText"
            text: header.screen.itemsText
            color: Theme.textDim
            font.pointSize: Theme.pointSize(12.5)
        }
    }

    Item {
        Layout.preferredWidth: 10
    }

    FilterField {
        objectName: "filterField"
        Layout.preferredWidth: 220
        text: header.screen.filter
        placeholder: Localized.text("filter_hint")
        onEdited: (text) => header.screen.filter = text
    }

    CircleButton {
        icon: "magnifyingglass"
        size: 42
        help: Localized.text("search")
        action: () => header.screen.openSearch()
    }

    CircleButton {
        icon: "arrow.clockwise"
        size: 42
        help: Localized.text("refresh")
        action: () => header.screen.requestReload()
    }
}
