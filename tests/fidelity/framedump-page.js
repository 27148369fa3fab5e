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
    return typeof FS !== "undefined" && FS.analyzePath("frame.ppm").exists;
}

// Hands the saved picture to the callback deflated (zlib's format) and in base64: a frame of
// 3840 x 2160 is 25 MB as it is, which the browser's driver takes many seconds to carry, and
// nearly all of it is the blue background.
function deflatedFrame(callback) {
    var stream = new Blob([FS.readFile("frame.ppm")]).stream()
                     .pipeThrough(new CompressionStream("deflate"));
    new Response(stream).arrayBuffer().then(function(buffer) {
        var bytes = new Uint8Array(buffer);
        var text = "";
        for (var i = 0; i < bytes.length; i += 0x8000)
            text += String.fromCharCode.apply(null, bytes.subarray(i, i + 0x8000));
        callback(btoa(text));
    });
}
