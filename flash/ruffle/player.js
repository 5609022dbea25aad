"use strict";

// The player's settings: no links opened, the movie scaled whole into the
// window, its right-click menu on (that is where the user pauses and
// resumes), and a font that has Chinese. Networking stays "all" because
// the player offers the external interface (through which the program
// reads and sets frames) only then; the page's security policy and the
// program's request guard let nothing out but the player's and the game's
// own files.
window.RufflePlayer = window.RufflePlayer || {};
window.RufflePlayer.config = {
  publicPath: "./",
  polyfills: false,
  autoplay: "on",
  unmuteOverlay: "hidden",
  splashScreen: false,
  contextMenu: "on",
  showSwfDownload: false,
  warnOnUnsupportedContent: false,
  letterbox: "on",
  scale: "showAll",
  quality: "high",
  allowScriptAccess: true,
  allowNetworking: "all",
  openUrlMode: "deny",
  upgradeToHttps: false,
  logLevel: "error",
  fontSources: ["font.ttf"],
  defaultFonts: {
    sans: ["AR PL SungtiL GB"],
    serif: ["AR PL SungtiL GB"],
    typewriter: ["AR PL SungtiL GB"],
    japaneseGothic: ["AR PL SungtiL GB"],
    japaneseGothicMono: ["AR PL SungtiL GB"],
    japaneseMincho: ["AR PL SungtiL GB"]
  }
};

let player = null;
let ready = false;

// Starts a movie given as base64 bytes; the program has checked it and
// added its frame callbacks. Its own files are found relative to base, the
// game's folder.
function parlixOpen(base64, base) {
  const text = atob(base64);
  const bytes = new Uint8Array(text.length);
  for (let i = 0; i < text.length; ++i)
    bytes[i] = text.charCodeAt(i);
  const stage = document.getElementById("stage");
  if (player)
    player.remove();
  ready = false;
  player = window.RufflePlayer.newest().createPlayer();
  stage.appendChild(player);
  player.addEventListener("loadeddata", () => { ready = true; });
  player.load({ data: bytes, swfFileName: "movie.swf", base: base });
  return true;
}

// Calls one of the movie's callbacks, if it has registered it.
function parlixCall(name, argument) {
  try {
    if (player && typeof player[name] === "function")
      return argument === undefined ? player[name]() : player[name](argument);
  } catch (e) {
  }
  return null;
}

function parlixState() {
  const frame = parlixCall("parlixFrame");
  return {
    frame: typeof frame === "number" ? frame : -1,
    ready: ready,
    frames: player && player.metadata ? player.metadata.numFrames : 0
  };
}
