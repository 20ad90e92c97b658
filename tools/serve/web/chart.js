"use strict";
// A line chart of several series on one time axis, each on a scale of its own: a series'
// values are drawn against the round number at or above its largest value in the shown
// range, so small and large counters share the plot. The axis shows the scale of the
// selected series. Written here rather than taken from a library: it needs one kind of
// chart, and a page without dependencies loads from the program alone.

const Palette = ["#1a73e8", "#e8710a", "#1e8e3e", "#d93025", "#9334e6", "#12b5cb",
                 "#f9ab00", "#e52592", "#5f6368", "#7cb342"];

// The round number (1, 2 or 5 times a power of ten) at or above Value; 1 for none. For
// bytes, the round number of KiB, MiB, ... that Value shows in.
function niceCeiling(value, isBytes) {
  if (!(value > 0)) return 1;
  if (isBytes && value >= 1024) {
    const prefix = Math.pow(1024, Math.min(4, Math.floor(Math.log(value) / Math.log(1024))));
    return niceCeiling(value / prefix, false) * prefix;
  }
  const power = Math.pow(10, Math.floor(Math.log10(value)));
  for (const step of [1, 2, 5, 10]) {
    if (step * power >= value * (1 - 1e-12)) return step * power;
  }
  return 10 * power;
}

// A value as people read it, with its unit: a byte count with binary prefixes, a large
// number with decimal ones.
function formatValue(value, unit, isBytes) {
  if (value === null || value === undefined || Number.isNaN(value)) return "–";
  const sign = value < 0 ? "-" : "";
  let magnitude = Math.abs(value);
  let prefix = "";
  const base = isBytes ? 1024 : 1000;
  const prefixes = isBytes ? ["Ki", "Mi", "Gi", "Ti"] : ["k", "M", "G", "T"];
  if (unit !== "%") {
    for (const next of prefixes) {
      if (magnitude < base) break;
      magnitude /= base;
      prefix = next;
    }
  }
  const digits = magnitude >= 100 || (magnitude === Math.round(magnitude) && prefix === "") ? 0
      : magnitude >= 10 ? 1 : 2;
  const suffix = (isBytes ? " " + prefix + "B" : (prefix ? " " + prefix : "")) +
      (unit ? (isBytes || prefix ? "" : " ") + unit : "");
  return sign + magnitude.toFixed(digits) + suffix;
}

// last, average, minimum and maximum of the values in [start, end]; nulls for none.
function rangeStatistics(points, start, end) {
  let count = 0, sum = 0, min = Infinity, max = -Infinity, last = null;
  for (const [time, value] of points) {
    if (time < start || time > end || value === null) continue;
    count += 1; sum += value; last = value;
    min = Math.min(min, value); max = Math.max(max, value);
  }
  if (count === 0) return { last: null, average: null, min: null, max: null };
  return { last, average: sum / count, min, max };
}

function timeLabel(time, withSeconds) {
  const date = new Date(time);
  const two = (n) => String(n).padStart(2, "0");
  return two(date.getHours()) + ":" + two(date.getMinutes()) +
      (withSeconds ? ":" + two(date.getSeconds()) : "");
}

// Steps of the time axis, in milliseconds.
const TimeSteps = [1e3, 2e3, 5e3, 1e4, 15e3, 3e4, 6e4, 12e4, 3e5, 6e5, 9e5, 18e5, 36e5, 72e5];

class Chart {
  constructor(canvas, cursorBox) {
    this.canvas = canvas;
    this.cursorBox = cursorBox;
    this.series = [];
    this.start = 0;
    this.end = 1;
    this.selected = null;
    this.cursorTime = null;
    this.drawn = [];
    new ResizeObserver(() => this.draw()).observe(canvas);
    // Asked for another range: onZoom(start, end), or onZoom(null) to follow the samples.
    this.onZoom = () => {};
    // A time picked by a click, or Enter at the cursor: onPick(time).
    this.onPick = () => {};
    // The picked time, marked on the plot; null for none.
    this.marker = null;
    this.dragFrom = null;
    canvas.addEventListener("mousemove", (event) => this.onMove(event));
    canvas.addEventListener("mouseleave", () => { this.dragFrom = null; this.moveCursor(null); });
    canvas.addEventListener("mousedown", (event) => {
      this.dragFrom = { x: event.offsetX, start: this.start, end: this.end, moved: false };
    });
    canvas.addEventListener("mouseup", (event) => {
      if (this.dragFrom && !this.dragFrom.moved) this.pick(event.offsetX);
    });
    window.addEventListener("mouseup", () => { this.dragFrom = null; });
    canvas.addEventListener("wheel", (event) => {
      event.preventDefault();
      this.zoom(this.timeAt(event.offsetX), event.deltaY > 0 ? 1.25 : 0.8);
    }, { passive: false });
    canvas.addEventListener("keydown", (event) => this.onKey(event));
  }

  // The time at a horizontal position of the canvas.
  timeAt(offsetX) {
    const area = this.plotArea();
    return this.start + (offsetX - area.left) / (area.right - area.left) * (this.end - this.start);
  }

  // Zooms by Factor (below 1: in) keeping Center where it is.
  zoom(center, factor) {
    this.onZoom(center - (center - this.start) * factor, center + (this.end - center) * factor);
  }

  // A press that moves less than a few pixels is a click, not a drag.
  onMove(event) {
    if (!this.dragFrom) return this.pointAt(event.offsetX);
    if (!this.dragFrom.moved && Math.abs(event.offsetX - this.dragFrom.x) < 4) return;
    this.dragFrom.moved = true;
    const area = this.plotArea();
    const shift = (event.offsetX - this.dragFrom.x) / (area.right - area.left) *
        (this.dragFrom.end - this.dragFrom.start);
    this.onZoom(this.dragFrom.start - shift, this.dragFrom.end - shift);
  }

  // Moves the shown range by Fraction of its width (below 0: back in time).
  pan(fraction) {
    const shift = (this.end - this.start) * fraction;
    this.onZoom(this.start + shift, this.end + shift);
  }

  pick(offsetX) {
    const area = this.plotArea();
    if (offsetX >= area.left && offsetX <= area.right) this.onPick(this.timeAt(offsetX));
  }

  // Series: [{key, label, colour, unit, isBytes, points: [[time, value|null], ...]}].
  setSeries(series) { this.series = series; this.draw(); }
  setRange(start, end) { this.start = start; this.end = end; this.draw(); }
  select(key) { this.selected = key; this.draw(); }

  // The points drawn at the last draw, by series key: what the user sees.
  drawnPoints() { return this.drawn; }

  plotArea() {
    const width = this.canvas.clientWidth, height = this.canvas.clientHeight;
    return { left: 76, top: 10, right: width - 12, bottom: height - 24, width, height };
  }

  scaleOf(series) {
    return niceCeiling(rangeStatistics(series.points, this.start, this.end).max, series.isBytes);
  }

  draw() {
    const ratio = window.devicePixelRatio || 1;
    const area = this.plotArea();
    this.canvas.width = Math.max(1, Math.round(area.width * ratio));
    this.canvas.height = Math.max(1, Math.round(area.height * ratio));
    const context = this.canvas.getContext("2d");
    context.setTransform(ratio, 0, 0, ratio, 0, 0);
    context.clearRect(0, 0, area.width, area.height);
    const style = getComputedStyle(document.documentElement);
    this.drawAxes(context, area, style);
    this.drawn = [];
    for (const series of this.series) {
      if (series.key !== this.selected) this.drawSeries(context, area, series, 1.5);
    }
    const selected = this.series.find((series) => series.key === this.selected);
    if (selected) this.drawSeries(context, area, selected, 3);
    this.drawMarker(context, area, style);
    this.drawCursor(context, area, style);
  }

  x(area, time) {
    return area.left + (time - this.start) / (this.end - this.start) * (area.right - area.left);
  }

  drawAxes(context, area, style) {
    context.font = "11px system-ui, sans-serif";
    context.strokeStyle = style.getPropertyValue("--grid");
    context.fillStyle = style.getPropertyValue("--muted");
    context.lineWidth = 1;
    const selected = this.series.find((series) => series.key === this.selected) || this.series[0];
    const scale = selected ? this.scaleOf(selected) : 100;
    context.textAlign = "right";
    context.textBaseline = "middle";
    for (let step = 0; step <= 4; ++step) {
      const y = area.bottom - step / 4 * (area.bottom - area.top);
      context.beginPath();
      context.moveTo(area.left, Math.round(y) + 0.5);
      context.lineTo(area.right, Math.round(y) + 0.5);
      context.stroke();
      const value = scale * step / 4;
      context.fillText(selected ? formatValue(value, selected.unit, selected.isBytes) : "", area.left - 6, y);
    }
    const span = this.end - this.start;
    // At most eight labels, and no more than their width leaves room for.
    const labels = Math.max(2, Math.min(8, Math.floor((area.right - area.left) / 72)));
    const step = TimeSteps.find((candidate) => span / candidate <= labels) || 144e5;
    context.textAlign = "center";
    context.textBaseline = "top";
    for (let time = Math.ceil(this.start / step) * step; time <= this.end; time += step) {
      const x = this.x(area, time);
      context.beginPath();
      context.moveTo(Math.round(x) + 0.5, area.top);
      context.lineTo(Math.round(x) + 0.5, area.bottom);
      context.stroke();
      context.fillText(timeLabel(time, step < 6e4), x, area.bottom + 6);
    }
  }

  drawSeries(context, area, series, width) {
    const scale = this.scaleOf(series);
    const drawnPoints = [];
    context.strokeStyle = series.colour;
    context.lineWidth = width;
    context.lineJoin = "round";
    context.beginPath();
    let drawing = false;
    for (const [time, value] of series.points) {
      if (time < this.start || time > this.end || value === null) {
        drawing = drawing && value !== null;
        continue;
      }
      const x = this.x(area, time);
      const y = area.bottom - Math.max(0, Math.min(1, value / scale)) * (area.bottom - area.top);
      if (drawing) context.lineTo(x, y); else context.moveTo(x, y);
      drawing = true;
      drawnPoints.push([time, value]);
    }
    context.stroke();
    this.drawn.push({ key: series.key, label: series.label, scale, points: drawnPoints });
  }

  drawMarker(context, area, style) {
    if (this.marker === null || this.marker < this.start || this.marker > this.end) return;
    const x = Math.round(this.x(area, this.marker)) + 0.5;
    context.strokeStyle = style.getPropertyValue("--accent");
    context.lineWidth = 2;
    context.setLineDash([4, 3]);
    context.beginPath();
    context.moveTo(x, area.top);
    context.lineTo(x, area.bottom);
    context.stroke();
    context.setLineDash([]);
  }

  drawCursor(context, area, style) {
    if (this.cursorTime === null) {
      this.cursorBox.hidden = true;
      return;
    }
    const x = this.x(area, this.cursorTime);
    context.strokeStyle = style.getPropertyValue("--muted");
    context.lineWidth = 1;
    context.beginPath();
    context.moveTo(Math.round(x) + 0.5, area.top);
    context.lineTo(Math.round(x) + 0.5, area.bottom);
    context.stroke();
    const lines = [timeLabel(this.cursorTime, true)];
    for (const series of this.series) {
      const point = nearestPoint(series.points, this.cursorTime);
      lines.push(series.label + ": " + formatValue(point ? point[1] : null, series.unit, series.isBytes));
    }
    this.cursorBox.textContent = lines.join("\n");
    this.cursorBox.style.whiteSpace = "pre";
    this.cursorBox.hidden = false;
    const boxWidth = this.cursorBox.offsetWidth;
    this.cursorBox.style.left = (x + 12 + boxWidth < area.width ? x + 12 : Math.max(0, x - 12 - boxWidth)) + "px";
  }

  pointAt(offsetX) {
    const area = this.plotArea();
    if (offsetX < area.left || offsetX > area.right) return this.moveCursor(null);
    this.moveCursor(this.timeAt(offsetX));
  }

  moveCursor(time) {
    this.cursorTime = time;
    this.draw();
    this.canvas.dispatchEvent(new CustomEvent("cursor", { detail: time }));
  }

  onKey(event) {
    const step = (this.end - this.start) / 50;
    if (event.key === "PageUp" || event.key === "PageDown" ||
        (event.shiftKey && (event.key === "ArrowLeft" || event.key === "ArrowRight"))) {
      this.pan(event.key === "PageUp" || event.key === "ArrowLeft" ? -0.25 : 0.25);
      event.preventDefault();
    } else if (event.key === "Enter" && this.cursorTime !== null) {
      this.onPick(this.cursorTime);
      event.preventDefault();
    } else if (event.key === "ArrowLeft" || event.key === "ArrowRight") {
      const from = this.cursorTime === null ? this.end : this.cursorTime;
      const to = from + (event.key === "ArrowLeft" ? -step : step);
      this.moveCursor(Math.max(this.start, Math.min(this.end, to)));
      event.preventDefault();
    } else if (event.key === "Escape") {
      this.moveCursor(null);
    } else if (event.key === "+" || event.key === "=" || event.key === "-") {
      const center = this.cursorTime === null ? (this.start + this.end) / 2 : this.cursorTime;
      this.zoom(center, event.key === "-" ? 1.25 : 0.8);
    } else if (event.key === "Home") {
      this.onZoom(null);
    }
  }
}

// The point of Points nearest to Time, or null.
function nearestPoint(points, time) {
  let best = null;
  for (const point of points) {
    if (best === null || Math.abs(point[0] - time) < Math.abs(best[0] - time)) best = point;
  }
  return best;
}
