"use strict";
// The process table: the server's rows (the process table of the latest sample, CPU %
// last), sorted by any column and filtered by name here. Each row keeps its place in the
// sample, from which the path of the process is made: the first of its name is NAME, the
// next NAME#1, and so on.

class ProcessTable {
  constructor(table, filter, count, onChoose) {
    this.table = table;
    this.filter = filter;
    this.count = count;
    this.onChoose = onChoose;
    this.columns = [];
    this.rows = [];
    // Names from A to Z, numbers from the largest down, as a column is first chosen.
    this.sort = { column: -1, descending: true };
    filter.addEventListener("input", () => this.render());
  }

  // Data: {columns: [caption...], rows: [{name, cells: [[text, value|null]...]}]}.
  update(data) {
    if (this.columns.join("\n") !== data.columns.join("\n")) {
      this.columns = data.columns;
      if (this.sort.column < 0) this.sort = { column: data.columns.length - 1, descending: true };
      this.renderHeader();
    }
    const seen = new Map();
    this.rows = data.rows.map((row) => {
      const key = row.name.toLowerCase();
      const occurrence = seen.get(key) || 0;
      seen.set(key, occurrence + 1);
      return { name: row.name, occurrence, cells: row.cells };
    });
    this.render();
  }

  renderHeader() {
    const header = this.table.tHead.rows[0];
    header.replaceChildren();
    this.columns.forEach((caption, column) => {
      const cell = document.createElement("th");
      cell.scope = "col";
      if (column > 0) cell.className = "num";
      const button = document.createElement("button");
      button.type = "button";
      button.textContent = caption;
      button.addEventListener("click", () => this.sortBy(column));
      cell.append(button);
      header.append(cell);
    });
    this.markSort();
  }

  sortBy(column) {
    if (this.sort.column === column) {
      this.sort.descending = !this.sort.descending;
    } else {
      this.sort = { column, descending: column !== 0 };
    }
    this.markSort();
    this.render();
  }

  markSort() {
    [...this.table.tHead.rows[0].cells].forEach((cell, column) => {
      if (column === this.sort.column) {
        cell.setAttribute("aria-sort", this.sort.descending ? "descending" : "ascending");
      } else {
        cell.removeAttribute("aria-sort");
      }
    });
  }

  // The value a row sorts by in Column: the name, or the number (none after every number).
  sortKey(row, column) {
    if (column === 0) return row.name.toLowerCase();
    const cell = row.cells[column - 1];
    return cell && cell[1] !== null ? cell[1] : null;
  }

  compare(a, b) {
    const x = this.sortKey(a, this.sort.column), y = this.sortKey(b, this.sort.column);
    if (x === y) return 0;
    if (x === null) return 1;
    if (y === null) return -1;
    const order = x < y ? -1 : 1;
    return this.sort.descending ? -order : order;
  }

  shownRows() {
    const text = this.filter.value.trim().toLowerCase();
    const shown = this.rows.filter((row) => row.name.toLowerCase().includes(text));
    return shown.sort((a, b) => this.compare(a, b));
  }

  render() {
    const body = this.table.tBodies[0];
    const focused = document.activeElement && body.contains(document.activeElement)
        ? document.activeElement.dataset.path : null;
    const shown = this.shownRows();
    body.replaceChildren(...shown.map((row) => this.rowElement(row)));
    this.count.textContent = shown.length + " of " + this.rows.length;
    if (focused) {
      const again = [...body.rows].find((element) => element.dataset.path === focused);
      if (again) again.focus();
    }
  }

  rowElement(row) {
    const element = document.createElement("tr");
    element.tabIndex = 0;
    element.dataset.path = instanceText(row.name, row.occurrence);
    element.title = "Chart the processor time and working set of " + row.name;
    const name = document.createElement("td");
    name.textContent = row.name;
    element.append(name);
    for (const [text] of row.cells) {
      const cell = document.createElement("td");
      cell.className = "num";
      cell.textContent = text;
      element.append(cell);
    }
    const choose = () => this.onChoose(element.dataset.path);
    element.addEventListener("click", choose);
    element.addEventListener("keydown", (event) => {
      if (event.key === "Enter" || event.key === " ") {
        choose();
        event.preventDefault();
      }
    });
    return element;
  }
}

// The instance part of a path: the name, with "#N" for the (N+1)-th of that name.
function instanceText(name, occurrence) {
  return occurrence > 0 ? name + "#" + occurrence : name;
}
