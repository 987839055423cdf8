// The dialogue's own texts in UTF-8, each starting a new line as the console
// prints them; the web page's form shows the same bytes without that line end.
// Constant; nothing writes them.
#pragma once

constexpr char HEADLINE_TEXT[] = "\nラックによる転位歯車歯形創成.  歯末のたけ=(1+x)m, 歯元のたけ=(1.25-x)m";
constexpr char TEETH_HEADING_TEXT[] = "\n(1) 歯数設定";
constexpr char TEETH_PROMPT_TEXT[] = "\nInput 歯数z= ";
constexpr char SHIFT_PROMPT_TEXT[] = "\n(2) 転位係数設定　　入力 x=";
// The mate's questions ('m' in the window), in the same manner.
constexpr char MATE_HEADING_TEXT[] = "\n(3) 相手歯車の設定";
// Asked first when the gear's cutter is a pinion-type cutter (only it cuts rings)
// and the gear is not itself a ring.
constexpr char MATE_RING_QUESTION_TEXT[] = "\n相手歯車は内歯車？  yes:1  no:0";
constexpr char MATE_TEETH_PROMPT_TEXT[] = "\nInput 相手歯車の歯数z2= ";
constexpr char MATE_SHIFT_PROMPT_TEXT[] = "\n相手歯車の転位係数設定　　入力 x2=";
constexpr char DATA_FILE_QUESTION_TEXT[] = "\nファイルへ歯面データ書き込み？  yes:1  no:0";
constexpr char DATA_FILE_INTRO_TEXT[] = "\ndataz10,20,..（など歯数付加）へ書き込み";

// The key help printed after every dialogue, one line each: every key the
// window takes (take_scene_key), each in quotes, Esc by its name.
constexpr int KEY_HELP_LINES = 11;
constexpr const char* KEY_HELP_TEXT[KEY_HELP_LINES] = {
    "\n's'キーで    ：描画継続",
    "\n'z'キーで    ：歯数変更",
    "\n'w' 'W'キーで：図の縮小拡大",
    "\n'1' '2' '3'キーで：歯先・歯元・切り下げ曲線・全歯形創成描画の選択",
    "\n'4' '5'キーで：ラックを転がす全歯の創成・歯車回転の全歯の創成描画の選択",
    "\n'6' '7'キーで：１つの歯形・全歯形描画の選択",
    "\n'8'キーで    ：相手歯車とのかみあい描画の選択",
    "\n'x'キーで    ：転位係数変更",
    "\n'm'キーで    ：相手歯車の設定",
    "\n'i'キーで    ：歯車データの表示・非表示",
    "\nEscキーで    ：終了",
};
