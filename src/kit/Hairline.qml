import QtQuick

// A one-pixel border laid over its parent's fill, so a translucent line blends with that
// fill rather than with what lies behind the shape. Give it the shape's `radius` and a
// `border.color`.
Rectangle {
    anchors.fill: parent
    color: "transparent"
    border.width: 1
}
