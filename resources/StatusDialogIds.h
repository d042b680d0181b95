#pragma once

// Controls of the Character and Mercenary dialog (141).

// Status
inline constexpr int IDC_HARDCORE = 1101;
inline constexpr int IDC_DIED = 1102;
inline constexpr int IDC_LADDER = 1103;
inline constexpr int IDC_EXPANSION = 1104;
inline constexpr int IDC_GAME_MODE = 1105;
inline constexpr int IDC_PROGRESSION = 1106;
inline constexpr int IDC_TITLE = 1107;

// Mercenary
inline constexpr int IDC_MERCENARY_STATE = 1111;
inline constexpr int IDC_MERCENARY_DEAD = 1112;
inline constexpr int IDC_MERCENARY_TYPE = 1113;
inline constexpr int IDC_MERCENARY_NAME = 1114;
inline constexpr int IDC_MERCENARY_EXPERIENCE = 1115;
inline constexpr int IDC_MERCENARY_LEVEL = 1116;
