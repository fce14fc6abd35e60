import QtQuick
import QtQuick.Layouts
import Zelfor.Kit
import Zelfor.Vod

// One series over its blurred backdrop: the header with poster and favourite button,
// then the season chips and the chosen season's episodes.
Item {
    id: root
    objectName: "seriesScreen"

    required property SeriesDetailsScreenModel screen

    Backdrop {
        objectName: "backdrop"
        anchors.fill: parent
        visible: screen.hasPlaylist
        hasUrl: screen.backdropUrl !== ""
        url: screen.backdropUrl
    }

    ColumnLayout {
        anchors.fill: parent
        anchors.leftMargin: 28
        anchors.rightMargin: 28
        anchors.topMargin: 38
        anchors.bottomMargin: 22
        visible: screen.hasPlaylist
        spacing: 18

        RowLayout {
            Layout.fillWidth: true
            spacing: 26

            BackButton {
                objectName: "backButton"
                Layout.alignment: Qt.AlignTop
                action: () => screen.back()
            }

            RoundedPicture {
                objectName: "poster"
                Layout.alignment: Qt.AlignTop
                Layout.preferredWidth: 150
                Layout.preferredHeight: 225
                url: screen.posterUrl
                title: screen.title
            }

            ColumnLayout {
                Layout.alignment: Qt.AlignTop
                Layout.fillWidth: true
                spacing: 12

                UiText {
                    objectName: "title"
                    Layout.fillWidth: true
                    text: screen.title
                    color: "white"
                    font.family: Theme.roundedFontFamily
                    font.pixelSize: 34
                    font.weight: Font.ExtraBold
                    wrapMode: Text.Wrap
                    maximumLineCount: 2
                    elide: Text.ElideRight
                }

                MetaChips {
                    objectName: "chips"
                    Layout.fillWidth: true
                    chips: screen.chips
                }

                UiText {
                    objectName: "plot"
                    Layout.fillWidth: true
                    Layout.maximumWidth: 760
                    visible: screen.plot !== ""
                    text: screen.plot
                    color: Theme.withOpacity(Theme.text, 0.9)
                    font.pixelSize: 14
                    wrapMode: Text.Wrap
                    maximumLineCount: 4
                    elide: Text.ElideRight
                }

                DetailSection {
                    Layout.fillWidth: true
                    Layout.maximumWidth: 760
                    label: Localized.text("cast_x")
                    text: screen.cast
                }

                PillButton {
                    objectName: "favoriteButton"
                    height: 38
                    title: Localized.text(screen.favorite ? "in_favorites" : "add_favorite")
                    icon: screen.favorite ? "heart.fill" : "heart"
                    action: () => screen.toggleFavorite()
                }
            }
        }

        Item {
            Layout.fillWidth: true
            Layout.fillHeight: true

            MessageView {
                objectName: "errorView"
                anchors.fill: parent
                visible: screen.state === SeriesDetailsScreenModel.Failed
                icon: "exclamationmark.triangle"
                text: screen.error
                color: Theme.red
            }

            LoadingView {
                anchors.fill: parent
                visible: screen.state === SeriesDetailsScreenModel.Loading
                text: Localized.text("loading_short")
            }

            MessageView {
                objectName: "emptyView"
                anchors.fill: parent
                visible: screen.state === SeriesDetailsScreenModel.Empty
                icon: "film.stack"
                text: Localized.text("no_items")
                color: Theme.textDim
            }

            ColumnLayout {
                anchors.fill: parent
                visible: screen.state === SeriesDetailsScreenModel.Loaded
                spacing: 18

                ListView {
                    objectName: "seasonRow"
                    Layout.fillWidth: true
                    Layout.preferredHeight: 46
                    orientation: ListView.Horizontal
                    spacing: 10
                    leftMargin: 4
                    rightMargin: 4
                    topMargin: 4
                    clip: true
                    boundsBehavior: Flickable.StopAtBounds
                    model: screen.seasons

                    delegate: SeasonChip {
                        required property var modelData
                        required property int index
                        title: modelData.title
                        count: modelData.count
                        selected: modelData.selected
                        action: () => screen.selectSeason(index)
                    }
                }

                ListView {
                    id: episodeList
                    objectName: "episodeList"
                    Layout.fillWidth: true
                    Layout.fillHeight: true
                    spacing: 10
                    topMargin: 6
                    bottomMargin: 6
                    leftMargin: 6
                    rightMargin: 6
                    clip: true
                    boundsBehavior: Flickable.StopAtBounds
                    model: screen.episodes

                    delegate: EpisodeRow {
                        required property int index
                        required label
                        required duration
                        required title
                        required plot
                        required image
                        required progress

                        width: episodeList.width - 12
                        focused: index === screen.focus
                        action: () => screen.play(index)
                    }

                    // Centres a row with a short settle, from wherever the list stands.
                    function scrollTo(index) { scroll.centre(index) }

                    CentringScroll {
                        id: scroll
                        target: episodeList
                        duration: 250
                        easing.type: Easing.InOutQuad
                    }
                }
            }
        }
    }

    Connections {
        target: screen
        function onScrollToEpisode(index) { episodeList.scrollTo(index) }
    }
}
