import QtQuick
import QtQuick.Window

Window {
    width: 1360
    height: 840
    minimumWidth: 1080
    minimumHeight: 680
    visible: true
    title: "Zelfor"
    color: Qt.rgba(0.043, 0.059, 0.102, 1)
}
