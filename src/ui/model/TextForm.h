#pragma once
// The readable form of a component stream, converted to and from the binary form value for
// value, so that either form can be kept (a form description committed as text is read at run
// time). An example:
//
//   TEditorWindow EditorWindow {
//     Tag = 3
//     Caption = "Fluxomatic\x21"          // UTF-8; escapes \\ \" \n \r \t and \xHH
//     Scale = 100.0                       // extended; 1.5d double, 1.5f single; +inf -inf +nan
//     TransparentMode = tmAuto            // identifier: enumeration value or named integer
//     Options = [soA, soC]                // set
//     Visible = true                      // true, false; `none` for no component
//     IndexMain.DIBImageList = @DIBImageList1   // reference to a component by name
//     DIB.Data = (                        // binary, in hexadecimal
//       17001300
//     )
//     Items = <                           // collection
//       item {
//         DisplayName = "SliderHrz1"
//       }
//     >
//     TDIBImageList DIBImageList1 {       // child component: class, optional name, body
//     }
//   }
//
// A body holds its properties first, then its children. Floats are written in the shortest
// decimal form that reads back to the same bits. `//` starts a comment.

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace ui {

class Component;
class Stream;

// The component stored at the position of `binary` (signature included) as text; StreamReadError
// for malformed data, also for values the text form cannot show (an identifier that is not one).
std::string BinaryToText(Stream& binary);
// The binary form (signature included) of a text; StreamReadError naming line and column.
std::vector<uint8_t> TextToBinary(std::string_view text);

std::string WriteRootToText(Component& root);
// As ComponentReader::ReadRoot, from text.
void ReadRootFromText(std::string_view text, Component& root);
std::unique_ptr<Component> ReadRootFromText(std::string_view text);

}  // namespace ui
