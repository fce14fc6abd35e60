import QtQuick
import Zelfor.Kit

// A movie or series of a content list as a poster, filled from the list's roles.
Item {
    id: cell

    required property string name
    required property string logo
    required property string rating
    required property bool favorite
    required property bool focused
    property var action: null

    implicitWidth: 140
    implicitHeight: width * 3 / 2

    PosterCard {
        anchors.fill: parent
        item: ({ name: cell.name, logo: cell.logo, rating: cell.rating })
        favorite: cell.favorite
        focused: cell.focused
        action: cell.action
    }
}
