// The console's texts as the user sees them in a UTF-8 console, for the tests.
#pragma once

#define HEADLINE "\nラックによる転位歯車歯形創成.  歯末のたけ=(1+x)m, 歯元のたけ=(1.25-x)m"
#define STEP_ONE "\n(1) 歯数設定"
#define TEETH_PROMPT "\nInput 歯数z= "
#define SHIFT_PROMPT "\n(2) 転位係数設定　　入力 x="
#define FILE_QUESTION "\nファイルへ歯面データ書き込み？  yes:1  no:0"
#define FILE_INTRO "\ndataz10,20,..（など歯数付加）へ書き込み"
#define NAME_PROMPT "\nfilename="
#define KEY_HELP                                                                                                \
    "\n's'キーで    ：描画継続"                                                                         \
    "\n'z'キーで    ：歯数変更"                                                                         \
    "\n'w' 'W'キーで：図の縮小拡大"                                                                   \
    "\n'1' '2' '3'キーで：歯先・歯元・切り下げ曲線・全歯形創成描画の選択"            \
    "\n'4' '5'キーで：ラックを転がす全歯の創成・歯車回転の全歯の創成描画の選択" \
    "\n'6' '7'キーで：１つの歯形・全歯形描画の選択"                                           \
    "\n'8'キーで    ：相手歯車とのかみあい描画の選択"                                        \
    "\n'x'キーで    ：転位係数変更"                                                                   \
    "\n'm'キーで    ：相手歯車の設定"                                                                \
    "\n'i'キーで    ：歯車データの表示・非表示"                                                 \
    "\nEscキーで    ：終了"
// A whole first dialogue up to the data-file question.
#define START_TO_QUESTION HEADLINE STEP_ONE TEETH_PROMPT SHIFT_PROMPT FILE_QUESTION
