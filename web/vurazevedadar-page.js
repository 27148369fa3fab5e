// The page's watch over the program's start: when the module cannot be loaded or run, the page
// says why and what to do, where a user looks, instead of leaving a blank canvas and a line in
// the console. It runs before the module, whose file it names; the page's own notice says
// what to do when this file itself is missing, and this script takes it down at once.
(function() {
    "use strict";

    var MODULE_SCRIPT = "vurazevedadar.js";
    var MODULE_BINARY = "vurazevedadar.wasm";
    var STANDALONE = "vurazevedadar-standalone.html";
    var notice = document.getElementById("notice");
    var shown = false;
    notice.hidden = true;

    var SERVE = "Serve the page's folder over http: run scripts/run-web in the source tree, " +
        "or serve the folder with any static web server and open the page's http:// address.";
    var REBUILD = "The folder must hold the page's files as they were built, side by side; " +
        "build the web preset again or copy the whole folder. ";

    // The text is ours or the browser's, never markup: elements and text nodes only.
    function paragraph(text, link) {
        var p = document.createElement("p");
        p.textContent = text;
        if (link) {
            var a = document.createElement("a");
            a.href = link;
            a.textContent = link;
            p.append(" Or open ", a, ", the page in one file, which also runs from a file.");
        }
        return p;
    }

    function show(cause, advice, offerStandalone) {
        if (shown)
            return;
        shown = true;
        var title = document.createElement("h1");
        title.textContent = "Vurazevedadar could not start";
        notice.replaceChildren(title, paragraph(cause),
                               paragraph(advice, offerStandalone ? STANDALONE : null));
        notice.hidden = false;
        var canvas = document.getElementById("canvas");
        if (canvas)
            canvas.hidden = true;
    }

    function noWebAssembly() {
        show("This browser runs no WebAssembly, which the program is written in: it is " +
                 "switched off (by a setting, a policy, or an option such as --jitless) or " +
                 "not supported.",
             "Switch WebAssembly on for this page, or open it in a browser that runs it " +
                 "(a current Chromium, Firefox or Safari).", false);
    }

    function missing(file) {
        if (location.protocol === "file:") {
            show("This page was opened from a file, and the browser does not let such a page " +
                     "load its program (" + file + ").",
                 SERVE, true);
        } else {
            show("The program's file " + file + " could not be loaded: it is missing, or the " +
                     "server refused it.",
                 REBUILD + SERVE, true);
        }
    }

    function damaged(file, reason) {
        show("The program's file " + file + " is damaged, perhaps cut short when it was " +
                 "copied (" + reason + ").",
             REBUILD + SERVE, true);
    }

    if (typeof WebAssembly !== "object") {
        noWebAssembly();
        return;
    }

    // The module calls this when it gives up; its reason is its own text.
    window.Module = {
        onAbort: function(what) {
            show("The program stopped: " + String(what) + ".", "Reload the page.", false);
        }
    };

    // The page hands the module its binary itself, so that it can tell what went wrong: a
    // fetch refused outright (a page opened from a file, in most browsers), a file not served,
    // or a file that does not compile. The bytes are compiled whole, whatever type the server
    // gave them. The page in one file carries them in a data block, in base64.
    function fetchFailed(error) {
        error.fetching = true;
        throw error;
    }

    function fetchBinary() {
        var block = document.getElementById("module-binary");
        if (block) {
            return Promise.resolve().then(function() {
                return Uint8Array.from(atob(block.textContent), function(c) {
                    return c.charCodeAt(0);
                });
            });
        }
        return fetch(MODULE_BINARY, {credentials: "same-origin"}).catch(fetchFailed)
            .then(function(response) {
                if (!response.ok)
                    fetchFailed(new Error("HTTP status " + response.status));
                return response.arrayBuffer().catch(fetchFailed);
            });
    }

    window.Module.instantiateWasm = function(imports, receive) {
        fetchBinary()
            .then(function(bytes) {
                return WebAssembly.instantiate(bytes, imports);
            })
            .then(function(result) {
                receive(result.instance, result.module);
            }, function(error) {
                if (error.fetching)
                    missing(MODULE_BINARY);
                else if (error instanceof WebAssembly.CompileError ||
                         error instanceof WebAssembly.LinkError)
                    damaged(MODULE_BINARY, String(error.message));
                else
                    show("The program stopped: " + String(error) + ".", "Reload the page.", false);
            });
        return {};
    };

    function isModuleScript(url) {
        return typeof url === "string" && url.split(/[?#]/)[0].endsWith("/" + MODULE_SCRIPT);
    }

    // A script that fails to load reports it on its element, which only a listener on the
    // capturing side sees; a script that does not parse reports it as an error of the window.
    window.addEventListener("error", function(event) {
        var target = event.target;
        if (target && target.tagName === "SCRIPT" && isModuleScript(target.src))
            missing(MODULE_SCRIPT);
        else if (isModuleScript(event.filename) && event.error instanceof SyntaxError)
            damaged(MODULE_SCRIPT, String(event.error.message));
    }, true);
})();
