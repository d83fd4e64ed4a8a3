#pragma once

#include "picture/ui/files_window.h"

#include <QRect>

#include <array>
#include <string_view>

namespace orvanta::picture {

// The picture files window's controls as the window lays them out; a button
// with its handler.
struct FilesControl
{
    enum class Kind { Label, Instruction, TextBox, Button, FileList, DriveList, DirectoryList };

    std::string_view name;
    Kind kind;
    std::string_view caption; // a label's or button's text
    std::string_view tooltip; // empty: none
    QRect geometry;
    void (FilesWindow::*click)() = nullptr;
};

inline constexpr QSize kFilesClientSize{409, 382};
inline constexpr std::string_view kDefaultPictureName = "mypic.bmp";

inline constexpr std::array<FilesControl, 11> kFilesControls{{
    {"lblFiles", FilesControl::Kind::Instruction,
        "To Store a file as a .BMP enter the File name then Click 'Store File'", "", {40, 16, 337, 17}},
    {"Text1", FilesControl::Kind::TextBox, "", "", {56, 48, 217, 25}},
    {"cmdStoreFile", FilesControl::Kind::Button, "Store File", "Store the .BMP file to Disk", {328, 48, 65, 25},
        &FilesWindow::cmdStoreFile_Click},
    {"Label1", FilesControl::Kind::Instruction,
        "To Display a stored .BMP file select the required file then click 'Display File'", "", {16, 120, 369, 17}},
    {"File1", FilesControl::Kind::FileList, "", "", {168, 144, 137, 227}},
    {"Label2", FilesControl::Kind::Label, "Select Drive", "", {40, 152, 73, 17}},
    {"Drive1", FilesControl::Kind::DriveList, "", "", {16, 176, 129, 21}},
    {"cmdDispFile", FilesControl::Kind::Button, "Display File", "Display a stored .BMP file", {328, 184, 65, 25},
        &FilesWindow::cmdDispFile_Click},
    {"Label3", FilesControl::Kind::Label, "Select Directory", "", {32, 208, 89, 17}},
    {"Dir1", FilesControl::Kind::DirectoryList, "", "", {16, 240, 129, 111}},
    {"cmdCancelFile", FilesControl::Kind::Button, "Cancel", "Return to Download ", {328, 336, 65, 25},
        &FilesWindow::cmdCancelFile_Click},
}};

inline constexpr std::array<std::string_view, 7> kFilesTabOrder{
    "Drive1",
    "Dir1",
    "File1",
    "cmdDispFile",
    "cmdStoreFile",
    "cmdCancelFile",
    "Text1",
};

} // namespace orvanta::picture
