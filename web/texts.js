// The page's own texts in Japanese and English: the form's and the controls'
// words, the key help beyond the console's, and the page's messages. The
// dialogue's Japanese comes from the wasm module, the console's own bytes;
// here is its English. Nothing here changes while the page runs.

export const LANGUAGES = ['ja', 'en'];

// The language a browser asks for: Japanese when it puts Japanese first
// among the two, else English.
export function browserLanguage(languages) {
  for (const language of languages) {
    const base = String(language).toLowerCase().split('-')[0];
    if (LANGUAGES.includes(base)) return base;
  }
  return 'en';
}

const SCENES_JA = ['歯末のインボリュート創成', '歯元のインボリュート創成', '切り下げ曲線の創成',
  'ラックを転がす全歯の創成', '歯車を回す全歯の創成', '１つの歯形', '全歯形', '相手歯車とのかみあい'];
// The scenes' English names are the program's own (its table of scenes), set at start.
const SCENES_EN = [];
export function takeSceneNames(names) {
  SCENES_EN.splice(0, SCENES_EN.length, ...names);
}

export const TEXTS = {
  ja: {
    // The dialogue's texts (index: web_text's) come from the module in Japanese.
    dialogue: null,
    // The key help's lines beyond the console's six.
    moreKeyHelp: [
      "'8'キーで：相手歯車とのかみあい描画",
      "'x'キーで    ：転位係数変更",
      "'m'キーで    ：相手歯車の設定（場面８）",
      "'i'キーで    ：歯車データの表示・非表示",
      'Escキーで   ：歯車を終わり入力へ戻る（入力中は変更の取消）',
      'ホイール・ピンチで：図の縮小拡大、図をタップ：描画継続',
    ],
    mateTeeth: '相手歯車 z2', mateDefault: ({mateTeeth}) => `2·z, ≤ ${mateTeeth}`, mateShift: '相手歯車 x2',
    cutterPart: '工具とモジュール', profile: '基準ラック', asSpecified: '標準',
    cutterKind: '工具', kindRack: 'ラック', kindPinion: 'ピニオンカッタ',
    zc: 'ピニオンカッタの歯数 zc', zcRange: ({cutterTeeth: {min, max}}) => `${min}〜${max}`,
    xc: 'ピニオンカッタの転位係数 xc',
    internal: '内歯車（ピニオンカッタで創成）',
    mateRing: '相手歯車は内歯車',
    internalNote: '内歯車の転位: +x で歯溝が広がり、歯先円が外へ移ります（d_a = d − 2(h_a − x)·m）',
    alpha: '圧力角 α [度]', ha: '歯末のたけ ha [m]', hf: '歯元のたけ hf [m]',
    rho: '工具歯先の丸み半径 ρ [m]', moduleField: 'モジュール [mm]（歯車の .svg と .dxf）',
    beta: 'ねじれ角 β [度]（空欄か 0: 平歯車）', hand: 'ねじれ方向', handRight: '右ねじれ', handLeft: '左ねじれ',
    face: '歯幅 [mm]（重なりかみあい率）', faceOptional: '省略可',
    cancel: '取消 (Esc)', answerYes: '1: 書き込む', answerNo: '0: 書き込まない',
    controls: '描画の操作', sceneGroup: '場面', scene: (k) => `場面${k}: ${SCENES_JA[k - 1]}`,
    play: '再生', pause: '一時停止', speed: '再生の速さ', stepButton: '描画継続',
    zoomOut: '縮小', zoomIn: '拡大', whole: '歯車全体', stepSlider: 'ステップ',
    changeTeeth: '歯数 (z)', changeShift: '転位 (x)', changeMate: '相手歯車 (m)', showData: 'データ (i)',
    endGear: '終了 (Esc)', keyHelp: 'キー操作', downloads: 'ダウンロード', downloadModule: 'モジュール [mm]',
    dataFile: '歯面データ', gearSvg: '歯車 .svg', gearDxf: '歯車 .dxf', gearJson: '歯車データ .json',
    sheetSvg: '歯車諸元表 .svg', gearData: '歯車データ', otherLanguage: 'English',
    newGear: '歯車を入力 (z)', frameTools: 'この図', savePng: '図を PNG で保存', fullscreen: '全画面',
    recordClip: '動画を録画 (WebM)', stopClip: '録画を止めて保存',
    share: 'リンクを共有', copied: 'リンクをコピーしました', copyThis: (url) => `このリンクをコピーしてください: ${url}`,
    examples: '例', exampleUndercut: '歯数 8 の切り下げ（場面3）', exampleRolling: '転がるラックが削る歯車全体（場面4）',
    exampleShifted: '標準歯車と転位歯車 x = 0.5（場面7）', exampleCutter: '先端の丸い 25° の工具（場面3）',
    exampleMesh: 'かみあう z = 12 と 24 の転位歯車（場面8）',
    gearLine: (z, x) => `z = ${z}, x = ${x}`,
    cutterLine: (alpha, ha, hf, rho) => `工具 ${alpha}°, ha ${ha}, hf ${hf}, ρ ${rho}`,
    moduleLine: (m) => `モジュール ${m} mm`,
    mateLine: (z2, x2, ring) => `相手歯車${ring ? '（内歯車）' : ''} z2 = ${z2}, x2 = ${x2}`,
    frame: (scene, step, zoom) => `場面${scene}（${SCENES_JA[scene - 1]}）、ステップ ${step}、拡大縮小 ${zoom}`,
    canvasName: (line, frame) => `${line}: ${frame}`,
    played: '再生中', paused: '一時停止しました',
    profileWords: (letters) => `は ${letters.join('、')} のどれかです`,
    notANumber: 'は数値ではありません',
    moduleRange: (min, max) => `は ${min} から ${max} mm までの数値です`,
    cutterWords: {alpha: '圧力角', ha: '歯末のたけ', hf: '歯元のたけ', rho: '工具歯先の丸み半径', m: 'モジュール',
      profile: '基準ラック', zc: 'ピニオンカッタの歯数', xc: 'ピニオンカッタの転位係数', beta: 'ねじれ角',
      hand: 'ねじれ方向', face: '歯幅'},
    handWords: 'は left（左ねじれ）か right（右ねじれ）です',
    handNeedsHelix: 'にはねじれ角 beta が要ります（平歯車にはねじれ方向がありません）',
    faceRange: (max) => `は 0 より大きく ${max} mm 以下の数値です`,
    faceNeedsHelix: 'にはねじれ角 beta が要ります（歯幅ははすば歯車の重なりかみあい率に使います）',
    helixLine: (beta, left) => `はすば歯車 ねじれ角 ${beta}°、${left ? '左' : '右'}ねじれ`,
    faceLine: (face) => `歯幅 ${face} mm`,
    cutterTeethRange: (min, max) => `は ${min} から ${max} までの整数です`,
    cutterShiftNeedsTeeth: 'には zc が要ります（ラックには転位係数がありません）',
    pinionLine: (zc, xc) => `ピニオンカッタ zc = ${zc}, xc = ${xc}`,
    ringLine: '内歯車',
    fieldProblem: (what, problem, word) => `${what}${problem}（「${word}」）`,
    mateShiftNeedsTeeth: 'x2 には z2 が要ります（省略時の相手歯車は標準歯車）',
    mateRingNeedsTeeth: '内歯車の相手歯車には歯数 z2 が要ります',
    unknownName: (name, names) => `アドレスの「${name}」はここでは使えません。使えるのは ${names} です`,
    wholeNumber: (name, word, low, high) =>
      `アドレスの ${name}=${word}: ${name} は ${low} から ${high} までの整数です`,
    sizeWord: (word, low, high) => `アドレスの size=${word}: size は 幅x高さ、各辺 ${low} から ${high} ピクセルです`,
    languageWord: (word) => `アドレスの lang=${word}: lang は ja か en です`,
    inAddress: (name, problem) => `アドレスの ${name}: ${problem}`,
    needsTeeth: (names) => `フレームへのリンクには z が要ります（ほかに ${names} も使えます）。入力から始めます`,
  },
  en: {
    // The console's texts, in English: 0 headline, 1 step (1), 2 the z prompt,
    // 3 the x prompt, 4 the data-file question, 5 the note on the file name,
    // 6 … 11 the key help lines.
    dialogue: [
      'Profile-shifted gear teeth generated by a rack.  addendum=(1+x)m, dedendum=(1.25-x)m',
      '(1) Number of teeth',
      'Input z= ',
      '(2) Profile shift coefficient    input x=',
      'Write the flank data to a file?  yes:1  no:0',
      'written to dataz10, dataz20, ... (the number of teeth added)',
      "'s'           : continue drawing",
      "'z'           : change the number of teeth",
      "'w' 'W'       : zoom out, zoom in",
      "'1' '2' '3'   : addendum, dedendum, undercut curve generation",
      "'4' '5'       : all teeth generated, the rack rolling, the gear turning",
      "'6' '7'       : one tooth, all teeth",
    ],
    moreKeyHelp: [
      "'8'           : the gear and its mate in mesh",
      "'x'           : change the shift coefficient",
      "'m'           : choose the mate of scene 8",
      "'i'           : show or hide the gear's data",
      'Esc           : end this gear, back to the form (in the form: cancel the change)',
      'wheel, pinch  : zoom; a tap on the picture: continue drawing',
    ],
    mateTeeth: 'mate z2', mateDefault: ({mateTeeth}) => `2·z, ≤ ${mateTeeth}`, mateShift: 'mate x2',
    cutterPart: 'cutter and module', profile: 'basic rack', asSpecified: 'standard',
    cutterKind: 'cutter', kindRack: 'rack', kindPinion: 'pinion cutter',
    zc: 'cutter\'s teeth z_c', zcRange: ({cutterTeeth: {min, max}}) => `${min} to ${max}`,
    xc: 'cutter\'s shift x_c',
    internal: 'internal gear (a ring; pinion cutter only)',
    mateRing: 'the mate is a ring',
    internalNote: 'A ring\'s shift: +x widens its tooth space and moves its tip circle out (d_a = d − 2(h_a − x)·m).',
    alpha: 'pressure angle α, degrees', ha: 'addendum ha, modules', hf: 'dedendum hf, modules',
    rho: 'tip radius ρ, modules', moduleField: 'module, mm (gear .svg and .dxf)',
    beta: 'helix angle β, degrees (empty or 0: spur)', hand: 'hand of helix', handRight: 'right', handLeft: 'left',
    face: 'face width, mm (the overlap ratio)', faceOptional: 'optional',
    cancel: 'Cancel (Esc)', answerYes: '1: write the data file', answerNo: '0: do not write it',
    controls: 'drawing controls', sceneGroup: 'scenes', scene: (k) => `scene ${k}: ${SCENES_EN[k - 1]}`,
    play: 'Play', pause: 'Pause', speed: 'speed of playing', stepButton: 'continue drawing',
    zoomOut: 'zoom out', zoomIn: 'zoom in', whole: 'Whole gear', stepSlider: 'Step',
    changeTeeth: 'Teeth (z)', changeShift: 'Shift (x)', changeMate: 'Mate (m)', showData: 'Data (i)',
    endGear: 'End (Esc)', keyHelp: 'Keys', downloads: 'Downloads', downloadModule: 'module, mm',
    dataFile: 'data file', gearSvg: 'gear .svg', gearDxf: 'gear .dxf', gearJson: 'gear data .json',
    sheetSvg: 'data sheet .svg', gearData: 'gear data', otherLanguage: '日本語',
    newGear: 'Your gear (z)', frameTools: 'this picture', savePng: 'Save picture (PNG)', fullscreen: 'Full screen',
    recordClip: 'Record clip (WebM)', stopClip: 'Stop and save clip',
    share: 'Share link', copied: 'Link copied', copyThis: (url) => `Copy this link: ${url}`,
    examples: 'Examples', exampleUndercut: 'the undercut of 8 teeth (scene 3)',
    exampleRolling: 'the rack rolling round the whole gear (scene 4)',
    exampleShifted: 'standard and shifted gear, x = 0.5 (scene 7)',
    exampleCutter: 'a 25° cutter with rounded tips (scene 3)',
    exampleMesh: 'shifted gears of 12 and 24 teeth in mesh (scene 8)',
    gearLine: (z, x) => `z = ${z}, x = ${x}`,
    cutterLine: (alpha, ha, hf, rho) => `cutter ${alpha}°, ha ${ha}, hf ${hf}, ρ ${rho}`,
    moduleLine: (m) => `module ${m} mm`,
    mateLine: (z2, x2, ring) => `${ring ? 'ring mate' : 'mate'} z2 = ${z2}, x2 = ${x2}`,
    frame: (scene, step, zoom) => `scene ${scene} (${SCENES_EN[scene - 1]}), step ${step}, zoom ${zoom}`,
    canvasName: (line, frame) => `${line}: ${frame}`,
    played: 'playing', paused: 'paused',
    profileWords: (letters) => `must be ${letters.slice(0, -1).join(', ')} or ${letters.at(-1)}`,
    notANumber: 'must be a number',
    moduleRange: (min, max) => `must be a number of millimetres from ${min} to ${max}`,
    cutterWords: {alpha: 'the pressure angle', ha: 'the addendum', hf: 'the dedendum', rho: 'the tip radius',
      m: 'the module', profile: 'the basic rack', zc: 'the cutter\'s number of teeth', xc: 'the cutter\'s shift',
      beta: 'the helix angle', hand: 'the hand', face: 'the face width'},
    handWords: 'must be left or right',
    handNeedsHelix: 'needs beta, the helix angle: a spur gear has no hand',
    faceRange: (max) => `must be a number of millimetres above 0 and at most ${max}`,
    faceNeedsHelix: 'needs beta, the helix angle: it gives a helical gear\'s overlap ratio',
    helixLine: (beta, left) => `helical ${beta}°, ${left ? 'left' : 'right'} hand`,
    faceLine: (face) => `face width ${face} mm`,
    cutterTeethRange: (min, max) => `must be a whole number from ${min} to ${max}`,
    cutterShiftNeedsTeeth: 'needs zc: the rack has no shift of its own',
    pinionLine: (zc, xc) => `pinion cutter z_c = ${zc}, x_c = ${xc}`,
    ringLine: 'internal gear',
    fieldProblem: (what, problem, word) => `${what} ${problem}, not "${word}"`,
    mateShiftNeedsTeeth: 'x2 needs z2: the default mate is a standard gear',
    mateRingNeedsTeeth: 'a ring mate needs its number of teeth z2',
    unknownName: (name, names) => `"${name}" in the address is not known here; a link takes ${names}`,
    wholeNumber: (name, word, low, high) =>
      `${name}=${word} in the address: ${name} must be a whole number from ${low} to ${high}`,
    sizeWord: (word, low, high) =>
      `size=${word} in the address: size must be WxH, each side ${low} to ${high} pixels`,
    languageWord: (word) => `lang=${word} in the address: lang must be ja or en`,
    inAddress: (name, problem) => `${name} in the address: ${problem}`,
    needsTeeth: (names) => `a link to a frame needs z (and may give ${names}); here is the form`,
  },
};
