// The Japanese of the texts the wasm module hands to the page: the refusals of
// the form's answers and of a cutter, the warning for a pointed tooth, the
// rows of the data panel and the faults of a download. The module speaks
// English (its texts are the console program's own); the page says them in
// Japanese through the table below. Every number, quoted word and formula of
// the English stays as it is, byte for byte. A text the table does not know
// comes back unchanged, so a new message of the module is never lost.
// Constant; no state.

// In a pattern: {number} a number as printf writes it, kept; {word} anything
// (a typed word as the module quotes it), kept; {text} a text translated by
// this table in turn (the reason of a refusal, say). The template names them
// $1, $2, … in the order they stand in the pattern.
const TEXTS = [
  // The form's answers (check_teeth_answer, check_shift_answer): a word that
  // is no number, a number the geometry refuses.
  ['"{word}" is not a whole number: {text}', '「$1」は整数ではありません: $2'],
  ['"{word}" is not a number: {text}', '「$1」は数値ではありません: $2'],
  ['{word} is refused: {text}', '$1 は受け付けられません: $2'],

  // Why a gear is refused (gear_refusal) and the warning for a pointed tooth (gear_warning).
  ['the number of teeth must be a whole number from {number} to {number}',
    '歯数は $1 から $2 までの整数でなければなりません'],
  ['the cutter cannot be used: {text}', 'この工具は使えません: $1'],
  ['with z = {number} the shift coefficient must be greater than {number} and less than {number} ' +
      '(addendum {number}+x, dedendum {number}-x and root radius z/2-{number}+x must be positive)',
    'z = $1 では転位係数は $2 より大きく $3 より小さくなければなりません' +
      '（歯末のたけ $4+x、歯元のたけ $5-x、歯底円の半径 z/2-$6+x がいずれも正でなければならないため）'],
  ['with z = {number} the shift coefficient must be greater than {number} and less than {number} ' +
      '(addendum {number}+x, dedendum {number}-x and root radius z/(2cos β)-{number}+x must be positive)',
    'z = $1 では転位係数は $2 より大きく $3 より小さくなければなりません' +
      '（歯末のたけ $4+x、歯元のたけ $5-x、歯底円の半径 z/(2cos β)-$6+x がいずれも正でなければならないため）'],
  ['z = {number} with x = {number} cannot be generated: {text}', 'z = $1, x = $2 の歯車は創成できません: $3'],
  ["the cutter's tip arc reaches up to its rolling line, so no straight flank cuts an involute",
    '工具歯先の丸みが転がり線まで達し、インボリュートを創成する直線の歯面が残りません'],
  ['its tooth profile needs more than {number} points in one list', '歯形の点列が $1 点を超えます'],
  ['its involute does not reach the tip circle', 'インボリュートが歯先円まで届きません'],
  ['its flank leaves the band between root and tip circle', '歯面が歯底円と歯先円の間からはみ出します'],
  ['its flanks meet at the root circle, so the tooth has no body', '両側の歯面が歯底円上で交わり、歯が残りません'],
  ["the cutter's tip circle reaches past the gear's centre, so no root circle is left",
    '工具の歯先円が歯車の中心を越え、歯底円が残りません'],

  // Why a ring, or a gear cut by a pinion-type cutter, is refused, and what the tables warn of for a ring.
  ["an internal gear can be cut only by a pinion-type cutter (a rack cannot reach inside a ring): " +
      "give the cutter's number of teeth",
    '内歯車はピニオンカッタでしか創成できません（ラックは内歯車の内側に入れません）: ピニオンカッタの歯数を指定してください'],
  ["the cutter is too large for the ring: it must have fewer teeth than the ring's {number}",
    'ピニオンカッタが内歯車に対して大きすぎます: 歯数は内歯車の $1 より少なくなければなりません'],
  ["with z = {number} the ring's shift coefficient must be greater than {number} and less than {number} " +
      '(its addendum {number}-x and dedendum {number}+x must be positive)',
    'z = $1 では内歯車の転位係数は $2 より大きく $3 より小さくなければなりません' +
      '（歯末のたけ $4-x と歯元のたけ $5+x がともに正でなければならないため）'],
  ['with z = {number} the shifts of gear and cutter are too far below zero for the cutter to cut it ' +
      '(no cutting pressure angle has that involute)',
    'z = $1 では歯車と工具の転位係数が負に大きすぎ、工具で創成できません' +
      '（そのインボリュート関数の値をもつ切削時のかみあい圧力角がありません）'],
  ['a gear and its mate cannot both be rings', '歯車と相手歯車の両方を内歯車にはできません'],
  ['ring z = {number} with x = {number}: {text}', '内歯車 z = $1, x = $2: $3'],
  ["the ring's tooth comes to a point at radius {number}", '内歯車の歯が半径 $1 でとがります'],
  ["the ring's tip circle (radius {number}) lies inside its base circle (radius {number}), where no " +
      "involute is: there its flanks are what the cutter's flanks below their own base circle cut",
    '内歯車の歯先円（半径 $1）は基礎円（半径 $2）の内側にあり、そこにはインボリュートがないため、歯面は工具の基礎円より内側の歯面が削った形になります'],
  ['the cutter cannot leave the ring radially without cutting teeth it should keep (trimming): ' +
      'it must be withdrawn along the axis',
    '工具を半径方向に抜くと残すべき歯を削ってしまいます（トリミング）: 軸方向に抜かなければなりません'],
  ["the cutter's tip cuts the ring's tip as it enters and leaves the cut (the tooth drawn and written " +
      'does not show that cut)',
    '工具の歯先が切り込むときと抜けるときに内歯車の歯先を削ります（描く歯と書き出す歯はその削りを示しません）'],

  // Why a gear and its mate cannot mesh (pair_data).
  ['z = {number} and z2 = {number} cannot be a pair: {text}', 'z = $1 と z2 = $2 は組になりません: $3'],
  ['their shifts are too far below zero for them to mesh without backlash ' +
      '(no working pressure angle has that involute)',
    '転位係数が負に大きすぎ、バックラッシなしにかみあえません（そのインボリュート関数の値をもつかみあい圧力角がありません）'],
  ['their teeth do not reach each other on the line of action', '歯が作用線上で互いに届きません'],
  ['z = {number} with x = {number}: the tooth comes to a point below its tip circle (radius {number}); ' +
      'its flanks meet at radius {number}',
    'z = $1, x = $2: 歯先円（半径 $3）に達する前に歯先がとがります。両側の歯面は半径 $4 で交わります'],
  // A helical gear's radii are in transverse modules.
  ['z = {number} with x = {number}: the tooth comes to a point below its tip circle (radius {number}, ' +
      'transverse modules); its flanks meet at radius {number}',
    'z = $1, x = $2: 歯先円（半径 $3、正面モジュール単位）に達する前に歯先がとがります。両側の歯面は半径 $4 で交わります'],
  ['z = {number} with x = {number}: {text}', 'z = $1, x = $2: $3'],
  ['the tooth comes to a point below its tip circle (radius {number}); its flanks meet at radius {number}; {text}',
    '歯先円（半径 $1）に達する前に歯先がとがります。両側の歯面は半径 $2 で交わります。$3'],
  ['the tooth comes to a point below its tip circle (radius {number}, transverse modules); its flanks meet at ' +
      'radius {number}; {text}',
    '歯先円（半径 $1、正面モジュール単位）に達する前に歯先がとがります。両側の歯面は半径 $2 で交わります。$3'],
  ["what the cutter's tip cuts removes the whole involute, so no part of its flank is involute",
    '工具の歯先が削る部分がインボリュートをすべて取り去り、歯面にインボリュートが残りません'],

  // Why thickness allowances are refused (choice_refusal): reversed, or a tooth thinned away.
  ["the gear's thickness allowances are reversed: upper {number} below lower {number} mm",
    'この歯車の歯厚の許容差が逆です: 上の許容差 $1 が下の許容差 $2 mm より小さくなっています'],
  ["the mate's thickness allowances are reversed: upper {number} below lower {number} mm",
    '相手歯車の歯厚の許容差が逆です: 上の許容差 $1 が下の許容差 $2 mm より小さくなっています'],
  ["the gear's tooth thinned by {number} mm cannot be cut: {text}", '$1 mm 薄くしたこの歯車の歯は創成できません: $2'],
  ["the mate's tooth thinned by {number} mm cannot be cut: {text}", '$1 mm 薄くした相手歯車の歯は創成できません: $2'],

  // Why a cutter is refused (cutter_refusal).
  ['the pressure angle must be from {number} to {number} degrees', '圧力角は $1° から $2° まででなければなりません'],
  ['the addendum and the dedendum must be from {number} to {number} modules',
    '歯末のたけと歯元のたけはモジュールの $1 倍から $2 倍まででなければなりません'],
  ["with that pressure angle the cutter's teeth leave no room for that addendum",
    'その圧力角では、工具の歯の間にその歯末のたけの入る余地がありません'],
  ["with that pressure angle the cutter's teeth come to a point above that dedendum",
    'その圧力角では、工具の歯がその歯元のたけに達する前にとがります'],
  ["the tip radius must be from {number} to the largest arc the cutter's tip holds",
    '工具歯先の丸み半径は $1 から工具の歯先に収まる最大の円弧の半径まででなければなりません'],
  ['a pinion-type cutter must have from {number} to {number} teeth', 'ピニオンカッタの歯数は $1 から $2 まででなければなりません'],
  ["the cutter's shift must be from {number} to {number}", 'ピニオンカッタの転位係数は $1 から $2 まででなければなりません'],
  ["the cutter's teeth come to a point below its tip circle", 'ピニオンカッタの歯が歯先円に達する前にとがります'],
  ["the tip radius is too large for the cutter's tip land", '工具歯先の丸み半径がピニオンカッタの歯先の幅に対して大きすぎます'],
  ['the helix angle must be from {number} to {number} degrees', 'ねじれ角は $1° から $2° まででなければなりません'],
  ['a helical gear is cut by the rack (a hob) here: a helical pinion-type cutter is not offered, ' +
      'so neither are helical rings',
    'ここでははすば歯車はラック（ホブ）で創成します: はすばのピニオンカッタはないため、はすばの内歯車もありません'],
  ['the face width must be from {number} to {number} mm', '歯幅は $1 から $2 mm まででなければなりません'],

  // The data panel's values in words (web_gear_data_rows; the rows' names come
  // from the module in both languages, and figures in mm need no words).
  ['— ({text})', '—（$1）'],
  ['yes — {text}', 'あり — $1'],
  ['yes', 'あり'],
  ['no', 'なし'],
  ['{number} deg', '$1°'],
  ['{number} / {number} deg', '$1 / $2°'],
  // The pair's backlash against the least recommended, alone and beside that row's figure.
  ['the least backlash is below the least recommended', '最小バックラッシが推奨最小値を下回ります'],
  ['the gears bind: their least backlash is negative', '最小バックラッシが負で、歯車がかみ込みます'],
  ['{text} — the least backlash is below the least recommended', '$1 — 最小バックラッシが推奨最小値を下回ります'],
  ['{text} — the gears bind: their least backlash is negative', '$1 — 最小バックラッシが負で、歯車がかみ込みます'],
  ['the tooth is pointed', '歯先がとがっています'],
  ['the tooth has a tip land', '歯先に幅があります'],
  ['it spans every tooth', 'すべての歯にまたがります'],
  ['its contact points lie below the form circle', '接触点がインボリュート開始円より内側にあります'],
  ['its contact points lie above the tip circle', '接触点が歯先円より外側にあります'],
  ['its contact points lie above where the flanks meet', '接触点が両側の歯面の交わる点より外側にあります'],
  ['the pin is too large to touch the involutes', 'ピンが大きすぎてインボリュートに接しません'],
  ['the flank has no involute', '歯面にインボリュートが残っていません'],
  ['rack', 'ラック'],
  ['pinion', 'ピニオンカッタ'],
  ['right', '右ねじれ'],
  ['left', '左ねじれ'],
  ['no face width is given', '歯幅が与えられていません'],
  ['the face is narrower than a caliper needs across the span (its least face width)',
    '歯幅が、ノギスでまたぎ歯厚を測るのに要る幅（最小歯幅）より狭くなっています'],
  ["no caliper reaches across a ring's teeth: measure it between pins",
    'ノギスは内歯車の歯をまたげません: ビトウィーンピン寸法で測ります'],
  ["the pin is too large for the ring's spaces", 'ピンが大きすぎて内歯車の歯溝に入りません'],
  ["{text} — the cutter's straight flank ends this far below the pitch line",
    '$1 — 工具の直線歯面はピッチ線からこの深さで終わります'],
  ["{text} — a generating line at the cutter's addendum, as textbooks take it",
    '$1 — 教科書と同じく、創成する直線を工具の歯末のたけの深さにとった場合'],
  ['the undercut removes the whole involute', '切り下げでインボリュートがすべて削られています'],
  ["each gear's tip digs into the other's root", '両方の歯車の歯先が互いに相手の歯元に食い込みます'],
  ["the mate's tip digs into the gear's root", '相手歯車の歯先がこの歯車の歯元に食い込みます'],
  ["the gear's tip digs into the mate's root", 'この歯車の歯先が相手歯車の歯元に食い込みます'],
  ["the ring's tip digs into the pinion's flank below its base circle",
    '内歯車の歯先がピニオンの基礎円より内側の歯元に食い込みます'],
  ["the ring's tip digs into the pinion's flank below its base circle by the rule, though the pinion " +
      'is undercut there and may clear it',
    '計算上は内歯車の歯先がピニオンの基礎円より内側の歯元に食い込みますが、' +
      'ピニオンはそこが切り下げられていて当たらないこともあります'],
  ["the pinion's tip hits the ring's tooth as it leaves mesh", 'かみあいを離れるピニオンの歯先が内歯車の歯に当たります'],
  ['the pinion cannot be moved in or out radially: it goes in along its axis',
    'ピニオンは半径方向に抜き差しできず、軸方向に組み付けます'],

  // The faults of a download.
  ['the data file could not be made', '歯面データのファイルを作れませんでした'],
  ['the data file could not be written', '歯面データのファイルを書き込めませんでした'],
  ["the gear's outline could not be made", '歯車の輪郭のファイルを作れませんでした'],
  ['the tooth is too small to draw at that module', 'そのモジュールでは歯が小さすぎて描けません'],
  ["the gear's outline could not be written", '歯車の輪郭のファイルを書き込めませんでした'],
  ["the gear's data could not be made", '歯車の諸元のファイルを作れませんでした'],
  ["the gear's data could not be written", '歯車の諸元のファイルを書き込めませんでした'],
  ['the data sheet could not be made', '歯車諸元表のファイルを作れませんでした'],
  ['the data sheet could not be written', '歯車諸元表のファイルを書き込めませんでした'],
  ["the gear's solid could not be made", '歯車の立体のファイルを作れませんでした'],
  ["the gear's solid could not be written", '歯車の立体のファイルを書き込めませんでした'],
  // The face width and the bore of the solid, beside the downloads (web_face_width_refusal, web_bore_refusal).
  ['the face width must be a number of millimetres above 0 and at most {number}',
    '歯幅は 0 より大きく $1 mm 以下の数値でなければなりません'],
  ['the bore must be a number of millimetres from 0 to {number}', '軸穴の直径は 0 から $1 mm までの数値でなければなりません'],
  ['a ring has no bore, only its rim', '内歯車には軸穴がなく、リムだけがあります'],
  ["the bore reaches the gear's root circle (diameter {number} mm): it must be below {number} mm",
    '軸穴がこの歯車の歯底円（直径 $1 mm）に達します: $2 mm より小さくしてください'],
  ["the bore reaches the mate's root circle (diameter {number} mm): it must be below {number} mm",
    '軸穴が相手歯車の歯底円（直径 $1 mm）に達します: $2 mm より小さくしてください'],
  ['the bore reaches the root circle', '軸穴が歯底円に達します'],
  ['the outline crosses itself', '輪郭が自分自身と交差します'],
  ['the solid would have more triangles than this program holds in its memory: ' +
      'a narrower face width or a smaller module has fewer',
    '立体の三角形がこのプログラムのメモリに収まる数を超えます: 歯幅を狭くするかモジュールを小さくすると減ります'],

  // Sentences the module joins by "; " (a ring's warnings), each said in turn;
  // last, so that every whole text above is tried first.
  ['{text}; {text}', '$1。$2'],
];

// As printf's %d, %g and %.4f write a number, inf and nan included.
const NUMBER = String.raw`(-?(?:\d+(?:\.\d*)?|\.\d+)(?:e[-+]?\d+)?|-?inf|-?nan)`;
// A quoted word is greedy: the wrapper's text after it never occurs in a reason,
// so its last occurrence is the wrapper's, whatever the word holds.
const PLACES = {number: NUMBER, word: '(.*)', text: '(.+)'};

// Each pattern as {pattern: RegExp, translated: [whether each capture is a text], template}.
const ENTRIES = TEXTS.map(([english, template]) => {
  const translated = [];
  const source = english.split(/\{(number|word|text)\}/).map((part, i) => {
    if (i % 2 === 0) return part.replace(/[.*+?^${}()|[\]\\]/g, '\\$&');
    translated.push(part === 'text');
    return PLACES[part];
  }).join('');
  return {pattern: new RegExp(`^${source}$`, 's'), translated, template};
});

function translateOne(english) {
  for (const {pattern, translated, template} of ENTRIES) {
    const found = pattern.exec(english);
    if (found === null) continue;
    const parts = found.slice(1).map((part, i) => (translated[i] ? translateOne(part) : part));
    return template.replace(/\$(\d)/g, (_, n) => parts[Number(n) - 1]);
  }
  return english;
}

// The Japanese of a text the module returned, or the text itself when the
// table does not know it. Several texts joined by tabs or line ends are
// translated part by part, tabs and line ends kept: the module quotes no tab
// or line end of a typed word as it is.
export function japaneseText(english) {
  return english.split(/(\t|\n)/).map((part, i) => (i % 2 === 0 ? translateOne(part) : part)).join('');
}
