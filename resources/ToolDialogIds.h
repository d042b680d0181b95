#pragma once

// Controls of the raw byte tools. The tools number their controls each on
// their own, so one number can name different controls in different tools.

// Find value (134) and Edit value (135): the value and its offset range.
inline constexpr int IDC_VALUE = 1002;
inline constexpr int IDC_FIRST_OFFSET = 1003;
inline constexpr int IDC_LAST_OFFSET = 1006;

// Edit value (135)
inline constexpr int IDC_FIND_A_VALUE = 1004;
inline constexpr int IDC_GET_VALUE = 1007;
inline constexpr int IDC_SET_VALUE = 1008;

// Find value (134) and Compare (136)
inline constexpr int IDC_FIND = 1004;
inline constexpr int IDC_FIND_NEXT = 1005;

// Find value (134)
inline constexpr int IDC_COMPARE = 1007;

// Compare (136)
inline constexpr int IDC_LOAD = 1006;
inline constexpr int IDC_COMPARE_FILE = 1009;
inline constexpr int IDC_COMPARE_OFFSET = 1010;
