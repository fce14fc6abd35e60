import QtQuick

// Keeps what its screen's title read when the view was first built.
Item {
    required property QtObject screen
    property string titleAtStart: "unread"

    Component.onCompleted: titleAtStart = screen.title
}
