#pragma once

#include <QRect>
#include <QStringView>

#include <array>

namespace orvanta::picture {

// The picture files window's controls as the window lays them out.
struct FilesControl
{
    enum class Kind { Label, Instruction, TextBox, Button, FileList, DriveList, DirectoryList };

    QStringView name;
    Kind kind;
    QStringView caption; // a label's or button's text
    QStringView tooltip; // empty: none
    QRect geometry;
};

inline constexpr QSize kFilesClientSize{409, 382};
inline constexpr QStringView kDefaultPictureName = u"mypic.bmp";

inline constexpr std::array<FilesControl, 11> kFilesControls{{
    {u"lblFiles", FilesControl::Kind::Instruction,
        u"To Store a file as a .BMP enter the File name then Click 'Store File'", u"", {40, 16, 337, 17}},
    {u"Text1", FilesControl::Kind::TextBox, u"", u"", {56, 48, 217, 25}},
    {u"cmdStoreFile", FilesControl::Kind::Button, u"Store File", u"Store the .BMP file to Disk", {328, 48, 65, 25}},
    {u"Label1", FilesControl::Kind::Instruction,
        u"To Display a stored .BMP file select the required file then click 'Display File'", u"", {16, 120, 369, 17}},
    {u"File1", FilesControl::Kind::FileList, u"", u"", {168, 144, 137, 227}},
    {u"Label2", FilesControl::Kind::Label, u"Select Drive", u"", {40, 152, 73, 17}},
    {u"Drive1", FilesControl::Kind::DriveList, u"", u"", {16, 176, 129, 21}},
    {u"cmdDispFile", FilesControl::Kind::Button, u"Display File", u"Display a stored .BMP file", {328, 184, 65, 25}},
    {u"Label3", FilesControl::Kind::Label, u"Select Directory", u"", {32, 208, 89, 17}},
    {u"Dir1", FilesControl::Kind::DirectoryList, u"", u"", {16, 240, 129, 111}},
    {u"cmdCancelFile", FilesControl::Kind::Button, u"Cancel", u"Return to Download ", {328, 336, 65, 25}},
}};

inline constexpr std::array<QStringView, 7> kFilesTabOrder{
    u"Drive1",
    u"Dir1",
    u"File1",
    u"cmdDispFile",
    u"cmdStoreFile",
    u"cmdCancelFile",
    u"Text1",
};

} // namespace orvanta::picture
