// Classes of user names accepted by the platform (code page 936 bytes).
#pragma once

// 0 invalid;
// 1 an ASCII name of letters, digits and _~*@!%#^.- of 2 to 19 characters;
// 2 a GB2312 name: symbol rows 0xA1-0xA3 (without the ideographic space
//   0xA1A1 and the unassigned cells of row 0xA2) and character rows
//   0xB0-0xF7 (without the unassigned cells 0xD7FA-0xD7FE);
// 3 a GBK name: besides GB2312 characters, characters with lead 0x81-0xA0 and
//   trail 0x40-0xFE, or lead 0xAA-0xFE and trail 0x40-0xA0 (never trail 0x7F);
// 4 such a GBK name in which a trail byte is 0x41-0x7A (an ASCII letter range).
// Single-byte and double-byte characters do not mix; a double-byte name has
// 2 to 12 bytes.
int CheckUserName(const char* name);
