// The page's side of the worker: conversions one at a time, in the order asked. A worker that
// fails (its engine aborted, its script died, or it ran past the time allowed) is ended, the
// conversion answers a failure, and the next conversion gets a new worker; so is one left
// holding much memory.
import workerSource from 'tessaro:worker-source';

const TIME_ALLOWED_MS = 10 * 60 * 1000;
// WebAssembly memory never shrinks: a worker that grew past this is ended after its answer,
// which hands the memory back, and the next conversion starts a new one.
const MEMORY_KEPT = 1024 * 1024 * 1024;

export class Converter {
  constructor() {
    this.url = URL.createObjectURL(new Blob([workerSource], { type: 'text/javascript' }));
    this.worker = null;
    this.queue = Promise.resolve();
    this.nextId = 1;
  }

  // Resolves with the worker's answer: { result, view, milliseconds, memory } or { crashed }.
  convert(job) {
    const run = () => this.run(job);
    const answer = this.queue.then(run, run);
    this.queue = answer;
    return answer;
  }

  run(job) {
    if (!this.worker) this.worker = new Worker(this.url);
    const worker = this.worker;
    const id = this.nextId++;
    return new Promise((resolve) => {
      const finish = (answer) => {
        clearTimeout(timer);
        worker.onmessage = null;
        worker.onerror = null;
        if (answer.crashed || answer.memory > MEMORY_KEPT) this.restart(worker);
        resolve(answer);
      };
      const timer = setTimeout(() => finish({ crashed: 'time' }), TIME_ALLOWED_MS);
      worker.onmessage = ({ data }) => { if (data.id === id) finish(data); };
      worker.onerror = (event) => { event.preventDefault(); finish({ crashed: event.message || 'worker' }); };
      worker.postMessage({ ...job, id });
    });
  }

  restart(worker) {
    worker.terminate();
    if (this.worker === worker) this.worker = null;
  }
}
