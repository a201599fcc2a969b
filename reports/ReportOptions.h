#pragma once
// What the user chose in the report dialog.

namespace sonivo {

// The three outputs, numbered as the Report menu's entries plus one.
enum class ReportKind { TextList = 1, HtmlPage = 2, Playlist = 3 };

// The extra data of each song's line in the page and the text list.
struct ReportOptions {
    bool withDuration = false;
    bool withSize = false;
};

}  // namespace sonivo
