// Where the end-to-end scripts tap: the middles of the controls of XML/MainMenu.xml and
// XML/GameWnd.xml, in the 240 x 320 screen's pixels.
#pragma once

namespace ScreenPoints {

struct Point
{
    int x, y;
};

// The player selection and its on-screen keyboard.
constexpr Point NameField{80, 60};
constexpr Point AddPlayer{200, 60};
constexpr Point PlayersOk{120, 296};
// The keyboard's cell (column, row), 19 by 17 pixels from (6, 248).
constexpr Point Key(int column, int row)
{
    return {6 + 19 * column + 9, 248 + 17 * row + 8};
}

// The main menu, its question about a saved run, the options, the help and the high scores.
constexpr Point Arcade{120, 107};
constexpr Point Classic{120, 147};
constexpr Point Survival{120, 187};
constexpr Point Players{68, 229};
constexpr Point HighScores{172, 229};
constexpr Point Options{68, 261};
constexpr Point Help{172, 261};
constexpr Point Exit{120, 299};
constexpr Point Continue{120, 185};
constexpr Point NewGame{73, 217};
constexpr Point KeysBox{128, 160};
constexpr Point OptionsOk{68, 298};
constexpr Point HelpNext{146, 298};
constexpr Point HelpOk{208, 298};
constexpr Point ScoresBack{120, 298};

// The game screen and the message after a board.
constexpr Point MenuButton{25, 20};
constexpr Point Next{120, 174};
constexpr Point Return{120, 208};

} // namespace ScreenPoints
