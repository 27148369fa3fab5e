// Runs the frame dumper with the ticks and client size from the address
// (?ticks=N&width=W&height=H; 640 x 480 unless given): the canvas is laid out at that size in
// CSS pixels, which at ratio 1 is the client area in device pixels. The dumper's main returns
// through Asyncify, after which nothing reports its end; the picture it saved (written at one
// go, between two waits) is what the test looks for, through frameDumped().
var query = new URLSearchParams(location.search);
var ticks = query.get("ticks") || "0";
var width = query.get("width") || "640";
var height = query.get("height") || "480";
var Module = {arguments: [ticks, "frame.ppm", width, height]};
document.getElementById("canvas").style.width = width + "px";
document.getElementById("canvas").style.height = height + "px";

function frameDumped() {
    if (typeof FS === "undefined" || !FS.analyzePath("frame.ppm").exists)
        return null;
    var bytes = FS.readFile("frame.ppm");
    var text = "";
    for (var i = 0; i < bytes.length; i += 0x8000)
        text += String.fromCharCode.apply(null, bytes.subarray(i, i + 0x8000));
    return btoa(text);
}
