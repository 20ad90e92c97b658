"use strict";
// The page: the view is its address (/?counter=PATH&counter=PATH&range=10m). It asks
// /api/values for the points of its counters once a sample interval, only for the points
// after the newest it holds, and /api/processes for the process table. Every value is
// computed by the server; the page only draws them.
//
// A server that replays a counter log says so in its first answer: the page then shows
// the log's whole range, asks again for the points of the range zoomed or panned to (as
// many buckets as the chart is wide), and shows the process table at the time picked on
// the chart; the address keeps the range and that time (&from=MS&to=MS&at=MS).

const DefaultCounters = [
  "\\Processor(_Total)\\% Processor Time",
  "\\Memory\\Available Bytes",
  "\\PhysicalDisk(_Total)\\Disk Bytes/sec",
  "\\Network Interface(*)\\Bytes Total/sec",
];
const Ranges = { "1m": 6e4, "5m": 3e5, "10m": 6e5, "30m": 18e5, "1h": 36e5 };
const MostCompletions = 60;

const view = {
  counters: [],
  range: "10m",
  // By asked path: {unit, error, series: Map(value path -> points)}.
  values: new Map(),
  newest: 0,
  interval: 1000,
  history: 6e5,
  colours: new Map(),
  names: null,
  // The range the user zoomed or panned to, [start, end]; null to follow the samples
  // (of a log: to show it whole).
  zoom: null,
  // A replayed log's extent {first, last, samples}; null for the live machine.
  log: null,
  // Of a log: the time picked for the process table; null for its last sample.
  at: null,
  // Of a log: the query of the points asked for last.
  asked: null,
};

const elements = {
  chart: document.getElementById("chart"),
  legend: document.querySelector("#legend tbody"),
  box: document.getElementById("counter-box"),
  completions: document.getElementById("completions"),
  addError: document.getElementById("add-error"),
  range: document.getElementById("range"),
  scheme: document.getElementById("scheme"),
  machine: document.getElementById("machine"),
  live: document.getElementById("live"),
  rangeLabel: document.querySelector("label.range"),
  processTime: document.getElementById("process-time"),
};

const chart = new Chart(elements.chart, document.getElementById("cursor"));
const processes = new ProcessTable(document.getElementById("processes"),
    document.getElementById("process-filter"), document.getElementById("process-count"),
    (instance) => addCounters(["\\Process(" + instance + ")\\% Processor Time",
                               "\\Process(" + instance + ")\\Working Set"]));

function readAddress() {
  const query = new URLSearchParams(location.search);
  const counters = query.getAll("counter").filter((path) => path.startsWith("\\"));
  view.counters = counters.length > 0 ? [...new Set(counters)] : DefaultCounters.slice();
  view.range = Ranges[query.get("range")] ? query.get("range") : "10m";
  elements.range.value = view.range;
  const time = (name) => (/^\d+$/.test(query.get(name) || "") ? Number(query.get(name)) : null);
  const [from, to] = [time("from"), time("to")];
  view.zoom = from !== null && to !== null && from < to ? [from, to] : null;
  view.at = time("at");
}

function writeAddress() {
  const query = new URLSearchParams();
  for (const path of view.counters) query.append("counter", path);
  if (!view.log) {
    query.set("range", view.range);
  } else {
    if (view.zoom) {
      query.set("from", Math.floor(view.zoom[0]));
      query.set("to", Math.ceil(view.zoom[1]));
    }
    if (view.at !== null) query.set("at", Math.round(view.at));
  }
  history.replaceState(null, "", "/?" + query.toString());
}

function colourOf(key) {
  if (!view.colours.has(key)) {
    const used = new Set(view.colours.values());
    const free = Palette.find((colour) => !used.has(colour));
    view.colours.set(key, free || Palette[view.colours.size % Palette.length]);
  }
  return view.colours.get(key);
}

function isBytes(path) { return /bytes/i.test(path.slice(path.lastIndexOf("\\"))); }

async function fetchJson(url) {
  const answer = await fetch(url, { cache: "no-store" });
  const body = await answer.json().catch(() => ({}));
  if (!answer.ok) throw new Error(body.error || answer.status + " " + answer.statusText);
  return body;
}

// Takes in the points of an answer of /api/values, dropping those older than the history.
function takeValues(answer) {
  view.interval = answer.interval || view.interval;
  view.history = answer.history || view.history;
  view.newest = Math.max(view.newest, answer.time || 0);
  for (const counter of answer.counters) {
    if (!view.counters.includes(counter.path)) continue;
    const held = view.values.get(counter.path) || { series: new Map() };
    held.unit = counter.unit || "";
    held.error = counter.error || "";
    for (const series of counter.series || []) {
      const points = (held.series.get(series.path) || []).concat(series.points);
      held.series.set(series.path, points);
    }
    const oldest = view.newest - view.history;
    for (const [path, points] of held.series) {
      const kept = points.filter((point) => point[0] >= oldest);
      if (kept.length > 0) held.series.set(path, kept); else held.series.delete(path);
    }
    view.values.set(counter.path, held);
  }
}

function countersQuery() {
  const query = new URLSearchParams();
  for (const path of view.counters) query.append("counter", path);
  return query;
}

async function pollValues() {
  if (view.counters.length === 0) return;
  if (view.log) return loadLogValues();
  const query = countersQuery();
  // A counter added since the last answer asks for its whole history.
  const fresh = view.counters.some((path) => !view.values.has(path));
  if (!fresh) query.set("since", view.newest);
  const answer = await fetchJson("/api/values?" + query.toString());
  if (answer.log) return enterLog(answer);
  if (fresh) view.values.clear();
  takeValues(answer);
  elements.machine.textContent = answer.error ? "Sample failed: " + answer.error
      : "Sampled " + new Date(view.newest).toLocaleTimeString();
  show();
}

// The first answer of a server that replays a log: the page shows the log from then on.
function enterLog(answer) {
  view.log = answer.log;
  elements.rangeLabel.hidden = true;
  elements.live.textContent = "Whole log";
  elements.live.title = "Show the whole log";
  elements.live.hidden = view.zoom === null;
  const first = new Date(answer.log.first), last = new Date(answer.log.last);
  elements.machine.textContent = "Log of " + answer.log.samples + " samples, " +
      first.toLocaleString() + " to " + last.toLocaleString();
  chart.marker = view.at;
  writeAddress();
  if (view.zoom) return loadLogValues();
  takeLogValues(answer);
}

// The points of the log over the range shown, as many buckets as the plot is wide.
async function loadLogValues() {
  const query = countersQuery();
  const [from, to] = view.zoom || [view.log.first, view.log.last];
  query.set("from", Math.max(0, Math.floor(from)));
  query.set("to", Math.max(0, Math.ceil(to)));
  query.set("points", Math.max(1, Math.round(chart.plotArea().right - chart.plotArea().left)));
  const asked = query.toString();
  view.asked = asked;
  const answer = await fetchJson("/api/values?" + asked);
  // An answer for a range left meanwhile is not shown.
  if (view.asked === asked) takeLogValues(answer);
}

function takeLogValues(answer) {
  view.values.clear();
  for (const counter of answer.counters) {
    if (!view.counters.includes(counter.path)) continue;
    const series = new Map((counter.series || []).map((entry) => [entry.path, entry.points]));
    view.values.set(counter.path, { unit: counter.unit || "", error: counter.error || "", series });
  }
  show();
}

// Asks for the points of the range shown once the user has stopped moving it a moment.
let logLoad = null;
function reloadLogSoon() {
  clearTimeout(logLoad);
  logLoad = setTimeout(() => loadLogValues().catch(showError), 150);
}

function shownSeries() {
  const list = [];
  for (const path of view.counters) {
    const held = view.values.get(path);
    if (!held) continue;
    for (const [seriesPath, points] of held.series) {
      list.push({ key: seriesPath, counter: path, label: seriesPath, colour: colourOf(seriesPath),
                  unit: held.unit, isBytes: isBytes(seriesPath), points });
    }
  }
  return list;
}

function show() {
  const series = shownSeries();
  const end = view.newest || Date.now();
  if (view.zoom) chart.setRange(view.zoom[0], view.zoom[1]);
  else if (view.log) chart.setRange(view.log.first, Math.max(view.log.last, view.log.first + 1000));
  else chart.setRange(end - Ranges[view.range], end);
  if (!series.some((entry) => entry.key === chart.selected)) chart.selected = series.length ? series[0].key : null;
  chart.setSeries(series);
  showLegend(series);
}

function legendCell(text, className) {
  const cell = document.createElement("td");
  if (className) cell.className = className;
  cell.textContent = text;
  return cell;
}

// The legend's rows are kept from one refresh to the next and only their texts change,
// so that a focused remove button keeps its focus.
const legendRows = new Map();

function showLegend(series) {
  const wanted = [];
  for (const path of view.counters) {
    const entries = series.filter((entry) => entry.counter === path);
    if (entries.length === 0) wanted.push(pendingRow(path, view.values.get(path)));
    for (const entry of entries) wanted.push(legendRow(entry));
  }
  for (const [key, row] of legendRows) {
    if (!wanted.includes(row)) legendRows.delete(key);
  }
  const shown = [...elements.legend.rows];
  if (shown.length !== wanted.length || shown.some((row, index) => row !== wanted[index])) {
    elements.legend.replaceChildren(...wanted);
  }
}

// The row of Key, made by Make when there is none yet.
function keptRow(key, make) {
  if (!legendRows.has(key)) legendRows.set(key, make());
  return legendRows.get(key);
}

function pendingRow(path, held) {
  const row = keptRow("pending\n" + path, () => {
    const made = document.createElement("tr");
    made.dataset.counter = path;
    const note = legendCell("", "note");
    note.colSpan = 5;
    made.append(legendCell(""), legendCell(path, "path"), note, removeCell(path));
    return made;
  });
  row.querySelector(".note").textContent = held && held.error ? held.error
      : view.log ? "no value in this range" : "waiting for samples…";
  return row;
}

function legendRow(entry) {
  const row = keptRow(entry.key, () => {
    const made = document.createElement("tr");
    made.dataset.counter = entry.counter;
    made.dataset.series = entry.key;
    const swatch = document.createElement("span");
    swatch.className = "swatch";
    swatch.style.background = entry.colour;
    const colourCell = legendCell("");
    colourCell.append(swatch);
    made.append(colourCell, legendCell(entry.label, "path"), legendCell("", "num last"),
                legendCell("", "num wide average"), legendCell("", "num wide minimum"),
                legendCell("", "num wide maximum"), legendCell("", "num wide scale"),
                removeCell(entry.counter));
    // Selecting a row puts its counter's scale on the axis and draws it on top.
    const select = () => { chart.select(entry.key); showLegend(shownSeries()); };
    made.tabIndex = 0;
    made.title = "Show the scale of " + entry.label;
    made.addEventListener("click", select);
    made.addEventListener("keydown", (event) => {
      if (event.target === made && (event.key === "Enter" || event.key === " ")) {
        select();
        event.preventDefault();
      }
    });
    return made;
  });
  const statistics = rangeStatistics(entry.points, chart.start, chart.end);
  const format = (value) => formatValue(value, entry.unit, entry.isBytes);
  row.classList.toggle("selected", entry.key === chart.selected);
  row.querySelector(".last").textContent = format(statistics.last);
  row.querySelector(".average").textContent = format(statistics.average);
  row.querySelector(".minimum").textContent = format(statistics.min);
  row.querySelector(".maximum").textContent = format(statistics.max);
  row.querySelector(".scale").textContent = format(chart.scaleOf(entry));
  return row;
}

function removeCell(path) {
  const cell = document.createElement("td");
  const button = document.createElement("button");
  button.type = "button";
  button.className = "remove";
  button.textContent = "×";
  button.setAttribute("aria-label", "Remove " + path);
  button.addEventListener("click", (event) => {
    event.stopPropagation();
    removeCounter(path);
  });
  cell.append(button);
  return cell;
}

function addCounters(paths) {
  const added = paths.filter((path) => !view.counters.includes(path));
  if (added.length === 0) return;
  view.counters.push(...added);
  writeAddress();
  show();
  pollValues().catch(showError);
}

function removeCounter(path) {
  view.counters = view.counters.filter((entry) => entry !== path);
  view.values.delete(path);
  writeAddress();
  show();
}

// A range the user asks for on the chart, kept within the held samples and no narrower
// than five intervals; a range that reaches the newest sample at the chosen width is
// the live view again.
function zoomTo(start, end) {
  if (view.log) return zoomLogTo(start, end);
  const newest = view.newest || Date.now();
  const span = Math.min(Math.max(end - start, 5 * view.interval), view.history);
  if (start === null || (end >= newest && span >= Ranges[view.range])) {
    view.zoom = null;
  } else {
    const last = Math.min(Math.max(end, newest - view.history + span), newest);
    view.zoom = [last - span, last];
  }
  elements.live.hidden = view.zoom === null;
  show();
}

// A range of the log, kept within it and no narrower than five samples' spacing (a
// second at least); the whole log shows as the view without a range.
function zoomLogTo(start, end) {
  const { first, last, samples } = view.log;
  const whole = last - first;
  const span = Math.min(Math.max(end - start, 5 * whole / Math.max(samples - 1, 1), 1000), whole);
  if (start === null || span >= whole) {
    view.zoom = null;
  } else {
    const from = Math.min(Math.max(start, first), last - span);
    view.zoom = [from, from + span];
  }
  elements.live.hidden = view.zoom === null;
  writeAddress();
  show();
  reloadLogSoon();
}

// Of a log: the process table at the time picked on the chart.
function pickTime(time) {
  if (!view.log) return;
  view.at = Math.round(time);
  chart.marker = view.at;
  writeAddress();
  chart.draw();
  pollProcesses().catch(showError);
}

function showError(error) { elements.machine.textContent = "Not answered: " + error.message; }

// The add-counter box: \Object, then \Object(Instance), then \Object(Instance)\Counter,
// completed from the objects, instances and counters of the served machine.
async function loadNames() {
  if (view.names) return;
  view.names = (await fetchJson("/api/names")).objects;
}

function objectPrefix(object) { return "\\" + object.name + (object.instances ? "(" : "\\"); }

function completionsFor(text) {
  const names = view.names || [];
  const lower = text.toLowerCase();
  const open = text.indexOf("(");
  const close = text.lastIndexOf(")\\");
  const objectEnd = open >= 0 ? open : text.indexOf("\\", 1);
  if (objectEnd < 0) {
    return names.map(objectPrefix).filter((prefix) => prefix.toLowerCase().includes(lower.slice(1)));
  }
  const object = names.find((entry) => entry.name.toLowerCase() === text.slice(1, objectEnd).toLowerCase());
  if (!object) return [];
  if (object.instances && open >= 0 && close < open) {
    const seen = new Map();
    const instances = ["*"].concat(object.instances.map((name) => {
      const occurrence = seen.get(name.toLowerCase()) || 0;
      seen.set(name.toLowerCase(), occurrence + 1);
      return instanceText(name, occurrence);
    }));
    const typed = text.slice(open + 1).toLowerCase();
    return instances.filter((name) => name.toLowerCase().includes(typed))
        .map((name) => "\\" + object.name + "(" + name + ")\\");
  }
  const counterStart = object.instances ? close + 2 : objectEnd + 1;
  if (counterStart < 2) return [];
  const head = text.slice(0, counterStart);
  const typed = text.slice(counterStart).toLowerCase();
  return object.counters.filter((name) => name.toLowerCase().includes(typed)).map((name) => head + name);
}

function showCompletions() {
  const options = completionsFor(elements.box.value).slice(0, MostCompletions).map((path) => {
    const option = document.createElement("option");
    option.value = path;
    return option;
  });
  elements.completions.replaceChildren(...options);
}

function setScheme(scheme) {
  if (scheme === "auto") delete document.documentElement.dataset.scheme;
  else document.documentElement.dataset.scheme = scheme;
  elements.scheme.textContent = "Scheme: " + scheme;
  try { localStorage.setItem("gaugery-scheme", scheme); } catch (error) { /* private mode */ }
  chart.draw();
}

function wire() {
  elements.box.addEventListener("focus", () => loadNames().then(showCompletions).catch(showError));
  elements.box.addEventListener("input", showCompletions);
  document.getElementById("add").addEventListener("submit", (event) => {
    event.preventDefault();
    const path = elements.box.value.trim();
    if (!path.startsWith("\\")) {
      elements.addError.textContent = "A counter path starts with \\, for example \\Processor(_Total)\\% Processor Time";
      return;
    }
    elements.addError.textContent = "";
    elements.box.value = "";
    addCounters([path]);
  });
  chart.onZoom = zoomTo;
  chart.onPick = pickTime;
  const zoomAtCentre = (factor) => chart.zoom((chart.start + chart.end) / 2, factor);
  document.getElementById("zoom-in").addEventListener("click", () => zoomAtCentre(0.5));
  document.getElementById("zoom-out").addEventListener("click", () => zoomAtCentre(2));
  elements.live.addEventListener("click", () => zoomTo(null, null));
  elements.range.addEventListener("change", () => {
    view.range = elements.range.value;
    view.zoom = null;
    elements.live.hidden = true;
    writeAddress();
    show();
  });
  elements.scheme.addEventListener("click", () => {
    const order = ["auto", "light", "dark"];
    const current = document.documentElement.dataset.scheme || "auto";
    setScheme(order[(order.indexOf(current) + 1) % order.length]);
  });
  window.addEventListener("popstate", () => {
    readAddress();
    view.values.clear();
    show();
    if (view.log) pollValues().then(pollProcesses).catch(showError);
  });
}

async function pollProcesses() {
  const atTime = view.log && view.at !== null ? "?at=" + view.at : "";
  const table = await fetchJson("/api/processes" + atTime);
  processes.update(table);
  elements.processTime.textContent = view.log ? " at " + timeLabel(table.time, true) +
      " (sample " + table.sample + " of " + table.samples + ")" : "";
}

// Polls at the server's interval; a failed request is shown and tried again next time.
// A log does not change: its data are asked for again only when the view changes.
// Then runs once after the first round, when the page knows whether it shows a log.
function every(task, then) {
  const run = async () => {
    try { await task(); } catch (error) { showError(error); }
    if (then) then();
    then = null;
    if (!view.log) setTimeout(run, view.interval);
  };
  run();
}

function start() {
  let scheme = "auto";
  try { scheme = localStorage.getItem("gaugery-scheme") || "auto"; } catch (error) { /* private mode */ }
  setScheme(scheme);
  readAddress();
  writeAddress();
  wire();
  show();
  every(pollValues, () => every(pollProcesses));
}

// What the page shows, for tests and for people at the console.
window.gaugery = { view, chart, processes, completionsFor, loadNames };

start();
