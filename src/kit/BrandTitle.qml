import QtQuick
import Zelfor.Kit

// The brand mark beside the product name; left to right in every language.
Row {
    id: root

    property real markSize: 48
    property real fontSize: 28

    LayoutMirroring.enabled: false
    LayoutMirroring.childrenInherit: true
    spacing: 0.3 * markSize

    Item {
        width: root.markSize
        height: root.markSize
        anchors.verticalCenter: parent.verticalCenter

        Shadow {
            target: mark
            color: Theme.violet
            opacity: 0.45
            blur: 0.35 * root.markSize
            offsetY: 0.08 * root.markSize
            shapeRadius: 0.24 * root.markSize
        }

        BrandMark {
            id: mark
            size: root.markSize
        }
    }

    Row {
        anchors.verticalCenter: parent.verticalCenter

        UiText {
            text: "Zelf"
            color: "white"
            font.family: Theme.roundedFontFamily
            font.pixelSize: root.fontSize
            font.weight: Font.ExtraBold
        }

        AccentText {
            text: "or"
            font.family: Theme.roundedFontFamily
            font.pixelSize: root.fontSize
            font.weight: Font.ExtraBold
        }
    }
}
