#pragma once

#include <cstdint>

// The display control's fixed dispatch identifiers. The control names the member in every
// failure it reports, and the page side tags each event it reports with its identifier.
namespace contract::DispId {

constexpr int32_t AllowMouseSelect = 0x68030058;
constexpr int32_t SourceHTML = 0x6803005A;
constexpr int32_t BaseURL = 0x6803005B;
constexpr int32_t CSSText = 0x6803005C;
constexpr int32_t CSSFromURL = 0x6803005D;
constexpr int32_t bodyHTML = 0x6803005E;
constexpr int32_t GetSelectionHTML = 0x6003006D;

// Events
constexpr int32_t LeftClick = 1;
constexpr int32_t RightClick = 2;
constexpr int32_t MenuItemClick = 3;
constexpr int32_t ClipboardCopy = 5;

// Document members used through the document object model
constexpr int32_t DocumentAll = 1003;
constexpr int32_t DocumentBody = 1004;
constexpr int32_t ElementGetAttribute = static_cast<int32_t>(0x800101F6);

}  // namespace contract::DispId
