// The archive page in headless Firefox ESR (WebDriver BiDi), from disk and
// over HTTP.
import { defineScenarios } from './support/scenarios.mjs';

defineScenarios('firefox');
