// What someone might write instead of the program: the same figures (frame, two bearings, the
// six-slot cross and the driving wheel with its pin) drawn with canvas 2D calls, the whole
// picture redrawn every 50 ms by setInterval. A yardstick for the browser build's cost; the
// tick times go to window.__ticks for the measurement.
"use strict";

const DISTANCE = 60, CRANK = 30, PIN = 4.5, DISC = 22.5;
const CROSS_RADIUS = Math.sqrt(2700);
const SLOTS = 6, TICK_MS = 50, DRIVE_STEP = Math.PI / 36;
const canvas = document.getElementById("canvas");
const context = canvas.getContext("2d", {alpha: false});
let drive = -Math.PI / 2;
window.__ticks = [];

function fit() {
    const ratio = window.devicePixelRatio;
    canvas.width = Math.round(canvas.clientWidth * ratio);
    canvas.height = Math.round(canvas.clientHeight * ratio);
}

// World x in [-60, 60] and y in [-60, 94.5], y up, fitted with a 5 % margin.
function setWorld() {
    const w = canvas.width, h = canvas.height;
    const worldW = 120 * 1.1, worldH = 154.5 * 1.1;
    const scale = Math.min(w / worldW, h / worldH);
    context.setTransform(scale, 0, 0, -scale, w / 2, h / 2 + (94.5 - 60) / 2 * scale);
    context.lineWidth = 1 / scale;
}

function bearing(y) {
    const quadrants = ["#000", "#ff0", "#000", "#ff0"];
    for (let i = 0; i < 4; ++i) {
        context.fillStyle = quadrants[i];
        context.beginPath();
        context.moveTo(0, y);
        context.arc(0, y, PIN, i * Math.PI / 2, (i + 1) * Math.PI / 2);
        context.fill();
    }
}

function crossAngle() {
    const a = -Math.atan2(Math.sin(drive), DISTANCE / CRANK - Math.cos(drive)) - Math.PI / 6;
    return Math.abs(Math.sin(drive)) < 0.5 && Math.cos(drive) > 0 ? a : Math.round(a / (Math.PI / 3)) * Math.PI / 3;
}

function cross() {
    context.save();
    context.rotate(crossAngle());
    context.beginPath();
    for (let i = 0; i < SLOTS; ++i) {
        const bottom = DISTANCE - CRANK;
        context.arc(0, DISTANCE, DISC, -Math.PI / 2 - 0.6, -Math.PI / 2 + 0.6);
        context.lineTo(-PIN, CROSS_RADIUS);
        context.lineTo(-PIN, bottom);
        context.arc(0, bottom, PIN, Math.PI, 0, false);
        context.lineTo(PIN, CROSS_RADIUS);
        context.rotate(Math.PI / 3);
    }
    context.strokeStyle = "#fff";
    context.stroke();
    context.restore();
}

function wheel() {
    context.save();
    context.translate(0, DISTANCE);
    context.rotate(drive + Math.PI / 2);
    context.beginPath();
    context.arc(0, 0, DISC, Math.PI / 6, 5 * Math.PI / 6);
    context.lineTo(-PIN, -CRANK);
    context.lineTo(PIN, -CRANK);
    context.closePath();
    context.strokeStyle = "#fff";
    context.stroke();
    context.beginPath();
    context.arc(0, -CRANK, PIN, 0, 2 * Math.PI);
    context.fillStyle = "#0ff";
    context.fill();
    context.restore();
}

function draw() {
    context.setTransform(1, 0, 0, 1, 0, 0);
    context.fillStyle = "#fff";
    context.fillRect(0, 0, canvas.width, canvas.height);
    context.fillStyle = "#00f";
    context.strokeStyle = "#fff";
    context.lineWidth = 1;
    context.fillRect(0, 0, canvas.width - 1, canvas.height - 1);
    context.strokeRect(0.5, 0.5, canvas.width - 2, canvas.height - 2);
    setWorld();
    bearing(0);
    bearing(DISTANCE);
    cross();
    wheel();
    window.__ticks.push(performance.now());
}

fit();
draw();
window.addEventListener("resize", function () { fit(); draw(); });
setInterval(function () { drive += DRIVE_STEP; draw(); }, TICK_MS);
