// The page's side of the backend. The canvas fills the page (the page's style sheet sees to
// that); its backing store is kept at the CSS size times devicePixelRatio, so that one GDI pixel
// is one screen pixel. Sizes come from a ResizeObserver watching the device-pixel box, which
// also fires when the zoom (devicePixelRatio) changes; they are only applied to the canvas when
// the program takes its events, so that the canvas and the framebuffer change together.
#include "webpage.h"

#include <emscripten.h>

EM_JS(void, vz_page_start_js, (), {
    if (Module.vzPage)
        return;
    var canvas = document.getElementById("canvas");
    // The page's notice says why a program did not start; this one did.
    var notice = document.getElementById("notice");
    if (notice)
        notice.hidden = true;
    var page = {
        canvas : canvas,
        context : canvas.getContext("2d", {alpha : false}),
        width : Math.max(1, Math.round(canvas.clientWidth * window.devicePixelRatio)),
        height : Math.max(1, Math.round(canvas.clientHeight * window.devicePixelRatio)),
        measured : false,
        pending : false,
        wake : null,
        image : null,
        imagePixels : 0
    };
    Module.vzPage = page;
    page.notify = function() {
        page.pending = true;
        if (page.wake)
            page.wake();
    };
    // A hidden canvas measures 0 x 0: it keeps the size it had.
    function measured(width, height) {
        if (width < 1 || height < 1)
            return;
        page.width = width;
        page.height = height;
        page.measured = true;
        page.notify();
    }
    // The device-pixel box is exact where CSS pixels do not fall on device pixels, but an
    // emulated ratio (a test's) leaves it in CSS pixels: it is taken only when it agrees with
    // the CSS size times the ratio.
    var observer = new ResizeObserver(function(entries) {
        var entry = entries[entries.length - 1];
        var ratio = window.devicePixelRatio;
        var width = Math.round(entry.contentRect.width * ratio);
        var height = Math.round(entry.contentRect.height * ratio);
        var box = entry.devicePixelContentBoxSize ? entry.devicePixelContentBoxSize[0] : null;
        if (box && Math.abs(box.inlineSize - width) <= 1 && Math.abs(box.blockSize - height) <= 1)
            measured(box.inlineSize, box.blockSize);
        else
            measured(width, height);
    });
    try {
        observer.observe(canvas, {box : "device-pixel-content-box"});
    } catch (e) {
        observer.observe(canvas);
    }
    // A zoom that leaves the CSS size alone changes only the ratio.
    function watchRatio() {
        var query = window.matchMedia("(resolution: " + window.devicePixelRatio + "dppx)");
        query.addEventListener("change", function() {
            var rect = canvas.getBoundingClientRect();
            var ratio = window.devicePixelRatio;
            measured(Math.round(rect.width * ratio), Math.round(rect.height * ratio));
            watchRatio();
        }, {once : true});
    }
    watchRatio();
    // A tab coming back from the background gets its due tick at once, not when the throttled
    // timer gets round to it.
    document.addEventListener("visibilitychange", page.notify);
});

EM_JS(int, vz_page_width, (), { return Module.vzPage.width; });
EM_JS(int, vz_page_height, (), { return Module.vzPage.height; });
EM_JS(int, vz_page_measured, (), { return Module.vzPage.measured ? 1 : 0; });
EM_JS(int, vz_page_pending, (), { return Module.vzPage.pending ? 1 : 0; });
EM_JS(void, vz_page_take_events, (), { Module.vzPage.pending = false; });
EM_JS(void, vz_page_poke, (), { Module.vzPage.notify(); });

EM_ASYNC_JS(int, vz_page_wait_js, (double nMilliseconds), {
    var page = Module.vzPage;
    return await new Promise(function(resolve) {
        var timer = 0;
        page.wake = function() {
            clearTimeout(timer);
            page.wake = null;
            resolve(1);
        };
        if (nMilliseconds >= 0)
            timer = setTimeout(function() {
                page.wake = null;
                resolve(0);
            }, nMilliseconds);
    });
});

// Setting a canvas's size clears it, even to the same size: only a change is applied.
EM_JS(void, vz_page_set_canvas_size, (int nWidth, int nHeight), {
    var canvas = Module.vzPage.canvas;
    if (canvas.width != nWidth)
        canvas.width = nWidth;
    if (canvas.height != nHeight)
        canvas.height = nHeight;
    Module.vzPage.image = null;
});

EM_JS(void, vz_page_show_canvas, (int bShow), { Module.vzPage.canvas.hidden = !bShow; });

EM_JS(void, vz_page_set_title, (const char* lpszTitle), {
    document.title = UTF8ToString(lpszTitle);
});

// The ImageData is a view of the framebuffer in the module's memory, made again only when the
// framebuffer moved or the memory grew: presenting copies just the changed rectangle.
EM_JS(void, vz_page_present,
      (const void* pPixels, int nWidth, int nHeight, int x, int y, int w, int h), {
    var page = Module.vzPage;
    var image = page.image;
    if (!image || image.data.buffer !== HEAPU8.buffer || page.imagePixels !== pPixels ||
        image.width !== nWidth || image.height !== nHeight) {
        image = new ImageData(
            new Uint8ClampedArray(HEAPU8.buffer, pPixels, nWidth * nHeight * 4), nWidth,
            nHeight);
        page.image = image;
        page.imagePixels = pPixels;
    }
    page.context.putImageData(image, 0, 0, x, y, w, h);
});

// Built from elements and text nodes, never from markup: the text is the program's, not HTML.
EM_ASYNC_JS(void, vz_page_message_box_js, (const char* lpszText, const char* lpszCaption), {
    var dialog = document.createElement("dialog");
    dialog.className = "message-box";
    var caption = document.createElement("h1");
    caption.textContent = UTF8ToString(lpszCaption);
    var text = document.createElement("p");
    text.textContent = UTF8ToString(lpszText);
    var button = document.createElement("button");
    button.textContent = "OK";
    dialog.append(caption, text, button);
    document.body.appendChild(dialog);
    await new Promise(function(resolve) {
        button.addEventListener("click", function() { dialog.close(); });
        dialog.addEventListener("close", resolve);
        dialog.showModal();
        button.focus();
    });
    dialog.remove();
});

// The page's functions are imports of the module, which a linker does not follow into a
// library: calls to these, defined here, are what bring them in. The waiting ones are imported
// under a name of Asyncify's, which only their own definition carries.
void vz_page_start()
{
    vz_page_start_js();
}

int vz_page_wait(double nMilliseconds)
{
    return vz_page_wait_js(nMilliseconds);
}

void vz_page_message_box(const char* lpszText, const char* lpszCaption)
{
    vz_page_message_box_js(lpszText, lpszCaption);
}
