// Runs the frame dumper with the ticks from the address (?ticks=N). The dumper's main returns
// through Asyncify, after which nothing reports its end; the picture it saved (written at one
// go, between two waits) is what the test looks for, through frameDumped().
var ticks = new URLSearchParams(location.search).get("ticks") || "0";
var Module = {arguments: [ticks, "frame.ppm"]};

function frameDumped() {
    if (typeof FS === "undefined" || !FS.analyzePath("frame.ppm").exists)
        return null;
    var bytes = FS.readFile("frame.ppm");
    var text = "";
    for (var i = 0; i < bytes.length; i += 0x8000)
        text += String.fromCharCode.apply(null, bytes.subarray(i, i + 0x8000));
    return btoa(text);
}
