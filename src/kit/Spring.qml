import QtQuick

// A short settle that overshoots a little, like a lightly damped spring whose
// response time is `response` seconds.
NumberAnimation {
    property real response: 0.28

    duration: response * 1000
    easing.type: Easing.OutBack
    easing.overshoot: 0.6
}
